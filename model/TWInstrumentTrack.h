#pragma once

#include "model/TWTrack.h"
#include "model/TWTrackItem.h"

#include <cstdint>
#include <string>
#include <vector>

class TWFactory;
class TWFolder;
class TWMIDIPatch;
class TWRhythmicCycle;
class TWRhythmicItem;
class TWRhythmicSequence;
class TWRuntimeTrackSink;

// A track of instrument loops: its own instrument (a clone of a library
// instrument, whose track owner it is), the track library holding its
// loops, and its arrangement, the main sequence "MainSequence" in that
// library's root folder. Positions and lengths of the loop operations are in
// grid units of 1 / track factor beats.
class TWInstrumentTrack : public TWTrack
{
    RW_DECLARE_COLLECTABLE(TWInstrumentTrack)
public:
    enum Float { Attack, Decay, Sustain, Fade, Release, Pitch, SemitonePitch, SpareOne, AlternateSemitonePitch,
                 Volume, Pan, SpareTwo, kFloatCount };

    TWInstrumentTrack() = default;
    explicit TWInstrumentTrack(const RWCString& name) : TWTrack(name) {}

    // Regenerates the run-time track's events and clips from the main sequence.
    bool RefreshMIDITrack(unsigned long& tick, int flags) override;
    TWInstrument* GetInstrument() const override;
    int GetMinimumNrOfBeats() const override;
    void SetMaximumNrOfBeats(int beats) override;

    // Also makes this track the instrument's owner.
    void SetInstrument(TWInstrument* instrument);
    TWFolder* GetMainFolder() const;
    void SetMainFolder(TWFolder* folder);
    TWRhythmicSequence* GetMainSequence() const;
    void SetMainSequence(TWRhythmicSequence* sequence);
    // The track library (the instrument's current factory), or nil.
    TWFactory* GetTrackFactory() const;

    short GetChannel() const { return mChannel; }
    void SetChannel(short channel) { mChannel = channel; }
    short GetAlternateChannel() const { return mAlternateChannel; }
    void SetAlternateChannel(short channel) { mAlternateChannel = channel; }
    short GetPatchKey(int i) const { return i >= 0 && i < 3 ? mPatchKey[i] : 0; }
    const RWCollectableString& GetPatchName() const { return mPatchName; }
    void SetPatchName(const RWCString& name) { mPatchName = name; }
    bool isRhythmicPatch() const { return mRhythmicPatch; }
    float GetFloat(Float which) const { return which >= 0 && which < kFloatCount ? mFloats[which] : 0.0f; }
    void SetFloat(Float which, float value)
    {
        if (which >= 0 && which < kFloatCount)
            mFloats[which] = value;
    }
    int GetPitchShift() const { return mPitchShift; }
    void SetPitchShift(int shift) { mPitchShift = shift; }

    // The patch table's default patch for `name`, else the table's entry 1
    // with the patch name ""; takes its key and rhythmic flag.
    void SetMIDIPatch(const RWCString& name);
    // The table entry of the patch key; when none, SetMIDIPatch with the
    // track's name and look again.
    TWMIDIPatch* GetMIDIPatch();

    // Loop operations (see TWTrackArrangement for the cell rules).
    std::vector<TWTrackItem> GetItemsInTrack() const;
    TWRhythmicCycle* AddTrackItem(int position, int length);
    bool MoveTrackItem(TWRhythmicItem* item, int instance, const LMFraction& position);
    bool SetTrackItemDuration(TWRhythmicItem* item, int instance, int length);
    bool RemoveTrackItem(TWRhythmicItem* item, int instance);
    bool RenameTrackItem(TWRhythmicItem* item, const RWCString& name);
    // Removes every loop overlapping the span and places `sequence` over it.
    bool ReplaceTrackItem(const LMFraction& start, const LMFraction& length, TWRhythmicSequence* sequence);

    // The run-time track the events go to (nil: none); not owned.
    void SetRuntimeTrack(TWRuntimeTrackSink* sink) { mRuntimeTrack = sink; }
    TWRuntimeTrackSink* GetRuntimeTrack() const { return mRuntimeTrack; }
    // Each answers false and adds nothing without a run-time track.
    bool AddMIDIEvent(long long tick, int status, int data1, int data2);
    bool AddMIDIMessage(long long tick, const std::uint8_t* data, std::size_t size);
    bool AddAudioLoop(std::uint64_t start, std::uint64_t end, const std::string& path);

    // The track fields, instrument, main folder and main sequence
    // references, patch key and channel, patch name; since "QN312" the
    // twelve floats and the pitch shift.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    RWCollectable* mInstrument = nullptr;
    RWCollectable* mMainFolder = nullptr;
    RWCollectable* mMainSequence = nullptr;
    short mPatchKey[3] = { 0, 0, 0 };
    short mChannel = 0;
    RWCollectableString mPatchName;
    float mFloats[kFloatCount] = { 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f, 0.5f, 0 };
    int mPitchShift = 0;
    short mAlternateChannel = 0;
    bool mRhythmicPatch = false;
    TWRuntimeTrackSink* mRuntimeTrack = nullptr;
};
