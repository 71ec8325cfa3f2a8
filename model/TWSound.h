#pragma once

#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"

class TWInstrumentPart;
class TWObjectArena;
class TWSwar;

// A recorded sound of an older library, carried unchanged. Its name is its
// first member when that is a string.
class TWSound : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWSound)
public:
    static constexpr int kMemberCount = 8;

    RWCString GetName() const;
    // A copy whose members are copies owned by `arena` and with no outside
    // reference: it stays valid when the file it was read from is gone.
    TWSound* DetachedCopy(TWObjectArena& arena) const;

    // Five member objects, three member objects, a list, one reference.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    RWCollectable* mMembers[kMemberCount] = {};
    RWOrdered mList;
    RWCollectable* mReference = nullptr;
};

// A sound of an instrument part.
class TWInstrumentSound : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWInstrumentSound)
public:
    TWInstrumentPart* GetPart() const;

    // Name, two note references, the owning part reference, one short.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    RWCollectableString mName;
    RWCollectable* mNotes[2] = { nullptr, nullptr };
    RWCollectable* mPart = nullptr;
    short mValue = 0;
};
