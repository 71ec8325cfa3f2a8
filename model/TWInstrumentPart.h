#pragma once

#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"

// A part of an instrument ("Main" for every built-in instrument) with its
// sounds (TWInstrumentSound).
class TWInstrumentPart : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWInstrumentPart)
public:
    TWInstrumentPart() = default;
    TWInstrumentPart(const RWCString& name, short first, short second, short third, bool flag)
        : mName(name), mShorts{ first, second, third }, mFlag(flag) {}

    const RWCollectableString& GetName() const { return mName; }
    short GetShort(int i) const { return i >= 0 && i < 3 ? mShorts[i] : 0; }
    bool GetFlag() const { return mFlag; }
    RWOrdered& GetSounds() { return mSounds; }
    unsigned long GetValue(int i) const { return i >= 0 && i < 3 ? mValues[i] : 0; }
    RWCollectable* GetLinkedObject() const { return mLinked; }
    // The four ints in saved order d1, d2, d4, d3.
    int GetNewerInt(int i) const { return i >= 0 && i < 4 ? mNewerInts[i] : 0; }
    int GetPlayingNote() const { return mPlayingNote; }
    void SetPlayingNote(int note) { mPlayingNote = note; }

    // Name, three shorts, sounds, three unsigned longs, flag, linked object
    // reference; since "QN306" four ints.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    RWCollectableString mName;
    short mShorts[3] = { 0, 0, 0 };
    RWOrdered mSounds;
    unsigned long mValues[3] = { 0, 0, 0 };
    bool mFlag = false;
    RWCollectable* mLinked = nullptr;
    int mNewerInts[4] = { 0, 0, -1, -1 };
    int mPlayingNote = -1;
};
