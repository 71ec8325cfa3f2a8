#pragma once
#include "persist/LMFraction.h"

class TWInstrumentTrack;
class TWRhythmicItem;
class TWRhythmicSequence;

// Turns a composition track's main sequence into the run-time track's events
// and clips: where each loop instance lands, how a MIDI loop's events are
// fitted to the instance, and which samples an audio loop covers.
class TWTrackEvents
{
public:
    explicit TWTrackEvents(TWInstrumentTrack& track);

    // Regenerates the whole track; false when it has no main sequence.
    bool Refresh();

    // Walks a sequence's cells, placing each loop instance.
    void AddMIDIEvents(const TWRhythmicSequence& sequence, const LMFraction& offset, const LMFraction& factor);
    // Places one loop item at `position` for `duration` (fractions of the main
    // sequence), using the part [from, to] of its file, stretched to fit or not.
    void AddEventsWithinRange(const TWRhythmicItem& item, const LMFraction& duration, const LMFraction& from,
                              const LMFraction& to, const LMFraction& position, bool stretch);

    // tick(x) = H + 480 * n * x
    LMFraction TickOf(const LMFraction& position) const;

private:
    void AddMIDILoop(const std::string& path, const LMFraction& duration, const LMFraction& from,
                     const LMFraction& to, const LMFraction& base, bool stretch);
    void AddAudioLoop(const std::string& path, const LMFraction& duration, const LMFraction& position);

    TWInstrumentTrack& mTrack;
    LMFraction mCellCount = 1;   // n of the main sequence
    int mHeader = 0;             // H, in ticks
    int mTempo = 120;
    int mSampleRate = 44100;
};
