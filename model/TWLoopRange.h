#pragma once

#include "persist/RWCollectableString.h"

class TWComposition;

// A sequence of the song: a span of ticks (480 per beat) that play repeats
// a number of times. The file holds the start and end plus two beats.
class TWLoopRange : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWLoopRange)
public:
    static constexpr unsigned long kFileOffset = 960;

    TWLoopRange() = default;
    TWLoopRange(unsigned long start, unsigned long end, unsigned long repeats, TWComposition* composition = nullptr);

    unsigned long GetStart() const { return mStart; }
    unsigned long GetEnd() const { return mEnd; }
    // Also the start and end the engine reads (GetInitialStart, GetInitialEnd).
    void SetStart(unsigned long tick) { mStart = mInitialStart = tick; }
    void SetEnd(unsigned long tick) { mEnd = mInitialEnd = tick; }
    unsigned long GetRepeatCount() const { return mRepeats; }
    void SetRepeatCount(unsigned long repeats) { mRepeats = repeats; }
    unsigned long GetPlayedRepeats() const { return mPlayed; }
    void ResetPlayedRepeats() { mPlayed = 0; }
    const RWCollectableString& GetName() const { return mName; }
    void SetName(const RWCString& name) { mName = name; }
    TWComposition* GetComposition() const;
    void SetComposition(TWComposition* composition);
    unsigned char GetFlag() const { return mFlag; }
    void SetFlag(unsigned char flag) { mFlag = flag; }
    int GetFirstInt() const { return mFirstInt; }
    int GetSecondInt() const { return mSecondInt; }
    // The start and end given at construction (not saved).
    unsigned long GetInitialStart() const { return mInitialStart; }
    unsigned long GetInitialEnd() const { return mInitialEnd; }

    // (end - start) / 480 beats.
    double GetDuration() const;
    // At the end tick, while repeats are left: counts the repeat, raises the
    // composition's tempo when due and answers the start; else `tick`.
    unsigned long InLoop(unsigned long tick);

    // First int, name, composition reference, played repeats, second int,
    // start + 960, the flag as one character, repeat count, end + 960.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    unsigned long mStart = 0;
    unsigned long mEnd = 0;
    unsigned long mRepeats = 0;
    unsigned char mFlag = 0;
    int mFirstInt = 0;
    int mSecondInt = 0;
    unsigned long mPlayed = 0;
    RWCollectable* mComposition = nullptr;
    RWCollectableString mName;
    unsigned long mInitialStart = 0;
    unsigned long mInitialEnd = 0;
};
