// Smaller content of older libraries, carried unchanged. Member objects of
// classes this program does not interpret are held by pointer; a missing one
// is written as the nil reference.
#pragma once

#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"

class TWDeltaPitch : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWDeltaPitch)
public:
    // One reference, one int.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    RWCollectable* mReference = nullptr;
    int mValue = 0;
};

class TWSequencedPoint : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWSequencedPoint)
public:
    // Three ints.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    int mValues[3] = { 0, 0, 0 };
};

class TWStrokeSign : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWStrokeSign)
public:
    // One short, then the value as a new int object of its own.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    short mKind = 0;
    int mValue = 0;
};

class TWRaagProperties : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWRaagProperties)
public:
    static constexpr int kFlagCount = 9;
    // Jati, name, vadi note, thaat, time, samvadi note, ascending and
    // descending notes, nine flags.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    unsigned long mJati = 0;
    RWCollectableString mName;
    RWCollectable* mVadi = nullptr;
    unsigned long mThaat = 0;
    unsigned long mTime = 0;
    RWCollectable* mSamvadi = nullptr;
    RWOrdered mAscending;
    RWOrdered mDescending;
    bool mFlags[kFlagCount] = {};
};

class TWFont : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWFont)
public:
    // Five members, three flags, six members, one member.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    RWCollectable* mMembers[12] = {};
    bool mFlags[3] = {};
};

class TWPen : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWPen)
public:
    // A member, a flag, a member.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    RWCollectable* mMembers[2] = {};
    bool mFlag = false;
};

class TWPixel : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWPixel)
public:
    // A flag.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    bool mFlag = false;
};
