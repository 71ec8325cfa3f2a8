#pragma once

#include "persist/RWCollectableString.h"

// One entry of the instrument table. Its key is (bank, subBank, slot).
class TWMIDIPatch : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWMIDIPatch)
public:
    TWMIDIPatch() = default;

    bool HasKey(short bank, short subBank, short slot) const
    {
        return mBank == bank && mSubBank == subBank && mSlot == slot;
    }
    void SetName(const RWCString& name)
    {
        mName = name;
        mNameCopy = name;
    }

    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    RWCollectableString mName;
    bool mReservedFlag1 = true;
    short mBank = 108;
    short mSubBank = 0;
    short mSlot = 0;
    short mReservedShort = 0;
    RWCollectableString mEngineName;
    int mReservedInt = 0;
    bool mReservedFlag2 = false;
    bool mDrumKit = false;
    short mProgram = -1;
    RWCollectableString mPluginFolder;
    RWCollectableString mPluginExtension;
    RWCollectableString mPhoto;
    RWCString mNameCopy;
};
