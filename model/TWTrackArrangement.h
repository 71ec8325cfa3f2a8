#pragma once

#include "persist/LMFraction.h"

#include <vector>

class TWRhythmicItem;
class TWRhythmicSequence;
class TWSequencedItem;

// The cell rules of a track's main sequence, in grid units of 1 / track
// factor beats (quarter beats on the engine's tracks):
//  - a placed loop instance is one cell, cell index 0, covering all of it;
//  - silence is held in cells of one unit (plus a shorter last cell when a
//    silent span is not a whole number of units, as in older files);
//  - the cells cover the whole sequence; lengthening it raises its cell
//    count and re-expresses every duration so that no boundary moves in
//    time;
//  - a loop is never placed over another.
// Cells whose item is not a sequence (the silent stroke) are silence.
class TWTrackArrangement
{
public:
    // A loop instance: its cells and its place, in units.
    struct Instance
    {
        TWRhythmicItem* item = nullptr;
        int first = -1;
        int last = -1;
        LMFraction start;
        LMFraction length;
    };

    TWTrackArrangement(TWRhythmicSequence* sequence, const LMFraction& trackFactor);

    // False without a sequence or with a cell count or factor not above 0.
    bool IsUsable() const;
    LMFraction GetLengthInUnits() const;
    // The loop instances in time order.
    std::vector<Instance> GetInstances() const;
    // The k-th instance (from 1) of `item`.
    bool FindInstance(const TWRhythmicItem* item, int k, Instance& instance) const;
    // The end of the last loop in whole beats, rounded up; 0 without loops.
    int GetLastLoopEndInBeats() const;

    // The first cell boundary at or after `position` from which silence
    // covers `length` units or runs to the end of the sequence; the end of
    // the sequence when it ends with a loop; `position` itself when it lies
    // at or past the end.
    LMFraction FindPlace(const LMFraction& position, const LMFraction& length) const;
    // True when every cell overlapping the span is silent or belongs to
    // `ignored`; time past the end is silent.
    bool IsFree(const LMFraction& start, const LMFraction& length, const Instance* ignored = nullptr) const;
    // Makes the span one cell of `item`, lengthening the sequence when the
    // span reaches past its end; false (nothing changed) unless the span is
    // silent.
    bool Place(TWRhythmicItem* item, const LMFraction& start, const LMFraction& length);
    // Replaces the instance's cells by silent cells of one unit.
    void MakeSilent(const Instance& instance);
    // The silent time from `start` to the next loop or the end.
    LMFraction SilenceAfter(const LMFraction& start, bool& reachesEnd) const;
    // Makes the sequence at least `units` long, in whole beats; never
    // shortens. False when it cannot grow that far.
    bool LengthenTo(const LMFraction& units);

    static long long Floor(const LMFraction& f);
    static long long Ceil(const LMFraction& f);

private:
    LMFraction UnitShare() const;
    LMFraction ToUnits(const LMFraction& share) const;
    bool IsSilent(int index) const;
    // Cell starts in units, plus the end.
    std::vector<LMFraction> Offsets() const;
    // New silent cells covering `units` units of `unitShare` each.
    std::vector<TWSequencedItem*> SilentCells(const LMFraction& units, const LMFraction& unitShare) const;
    // The index of the cell starting at `units`, splitting a silent cell
    // there if needed; the cell count at the end; -1 inside a loop.
    int BoundaryAt(const LMFraction& units);

    TWRhythmicSequence* mSequence;
    LMFraction mFactor;
    TWRhythmicItem* mSilence = nullptr;
};
