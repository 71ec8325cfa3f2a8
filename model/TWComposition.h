#pragma once

#include "model/TWObjectArena.h"
#include "model/TWTrack.h"
#include "model/TWTrackItem.h"
#include "persist/LMFraction.h"
#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"

#include <string>
#include <vector>

class TWInstrumentTrack;
class TWLoopRange;

// The persistent song: global settings, loop ranges and instrument tracks,
// each with its own library and arrangement. Saved as one object whose
// first field is the version tag "QN313"; files from "QN300" on are read.
//
// The composition owns every object of its graph: what it read from its
// file and what its operations make (tracks, their instruments, loop
// ranges). Tracks taken out live on until the composition goes, as a file
// may share them.
class TWComposition : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWComposition)
public:
    static constexpr const char* kVersionTag = "QN313";

    TWComposition();
    TWComposition(const TWComposition&) = delete;
    TWComposition& operator=(const TWComposition&) = delete;
    ~TWComposition() override;

    // The values of a new song (after construction).
    void SetNewSongValues();

    const RWCollectableString& GetName() const { return mName; }
    void SetName(const RWCString& name) { mName = name; }
    int GetLengthValue() const { return mLength; }
    int GetIncreaseBy() const { return mIncreaseBy; }
    void SetIncreaseBy(int percent) { mIncreaseBy = percent; }
    int GetCyclesPerIncrease() const { return mCyclesPerIncrease; }
    void SetCyclesPerIncrease(int cycles) { mCyclesPerIncrease = cycles; }
    int GetModeValue() const { return mMode; }
    TWTrack& GetControlTrack() { return mControlTrack; }
    const LMFraction& GetTempo() const { return mTempo; }
    void SetTempo(const LMFraction& tempo) { mTempo = tempo; }
    const LMFraction& GetBarSize() const { return mBarSize; }
    void SetBarSize(const LMFraction& size) { mBarSize = size; }
    const LMFraction& GetThirdFraction() const { return mThirdFraction; }
    const std::string& GetFilePath() const { return mFilePath; }
    void SetFilePath(const std::string& path) { mFilePath = path; }
    bool isDirty() const { return mDirty; }
    void SetDirty(bool dirty) { mDirty = dirty; }
    bool isPractice() const { return mPractice; }
    void SetPractice(bool practice) { mPractice = practice; }
    const RWCollectableString& GetVersionTag() const { return mVersionTag; }
    unsigned long GetLegacyLoopCount() const { return mLegacyLoopCount; }
    const LMFraction& GetLegacyLoopStart() const { return mLegacyLoopStart; }
    const LMFraction& GetLegacyLoopEnd() const { return mLegacyLoopEnd; }
    float GetVolume() const { return mVolume; }
    void SetVolume(float volume) { mVolume = volume; }
    float GetPitch() const { return mPitch; }
    void SetPitch(float pitch) { mPitch = pitch; }
    const RWCollectableString& GetStyle() const { return mStyle; }
    void SetStyle(const RWCString& style) { mStyle = style; }
    const LMFraction& GetBeatsFactor() const { return mBeatsFactor; }
    int GetSpareInt() const { return mSpare; }
    void SetBeatsFactor(const LMFraction& factor) { mBeatsFactor = factor; }

    // Tracks.
    std::size_t GetTrackCount() const { return mTracks.entries(); }
    TWInstrumentTrack* GetTrack(int index) const;
    // The index of `track`, or -1.
    int IndexOf(const TWTrack* track) const;
    // Appends a track for the library instrument `instrument` ("GM",
    // "Audio", ...) with its own clone of it and its track library; answers
    // the number of tracks, or -1 when there is no such instrument.
    int AddInstrumentTrack(const RWCString& instrument, short channel, const RWCString& patch, int sa,
                           int factor, int volume, int pan);
    bool RemoveTrack(int index);
    bool MoveTrack(int from, int to);
    std::vector<TWTrackItem> GetItemsInTrack(int index) const;
    // The largest GetMinimumNrOfBeats of the tracks, at least 4.
    int GetMinimumNrOfBeats() const;
    // Unless practice or without tracks: SetMaximumNrOfBeats(minimum) on
    // every track.
    void TrimUnused();
    // Tracks on channel 9 move to the lowest channel no track uses.
    void AvoidChannel10();
    // Alternate channels: each track's own, or, when the preferences allow
    // it, the lowest free channel other than 9 for tracks that allow one.
    void AssignAlternateChannels();

    // Loop ranges.
    std::size_t GetLoopRangeCount() const { return mLoopRanges.entries(); }
    TWLoopRange* GetLoopRange(int index) const;
    TWLoopRange* AddLoopRange(unsigned long start, unsigned long end, unsigned long repeats);
    // By start tick, ascending, keeping the order of equal starts.
    void SortLoopRanges();

    // Takes an object made for this composition.
    template <class T> T* Adopt(T* p) { return mObjects.Adopt(p); }
    // Takes the objects of the read that made this composition.
    void TakeObjects(TWObjectArena& arena) { mObjects.TakeAll(arena); }

    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    void ConvertLegacyLoop();
    // False when the lists held anything else (now dropped).
    bool KeepOnlyTracksAndRanges();

    RWCollectableString mName;
    RWOrdered mTracks;
    int mLength = 4;
    int mIncreaseBy = -1;
    int mCyclesPerIncrease = 1;
    int mMode = 3;
    TWTrack mControlTrack{ "Control" };
    LMFraction mTempo = 120;
    LMFraction mBarSize = 4;
    LMFraction mThirdFraction = 0;
    std::string mFilePath;
    bool mDirty = false;
    bool mPractice = false;
    RWCollectableString mVersionTag;
    unsigned long mLegacyLoopCount = 0;
    LMFraction mLegacyLoopStart = 1;
    LMFraction mLegacyLoopEnd = 1;
    RWOrdered mLoopRanges;
    float mVolume = 0.9f;
    float mPitch = 0;
    RWCollectableString mStyle;
    LMFraction mBeatsFactor = 1;
    int mSpare = 0;
    TWObjectArena mObjects;
};
