#pragma once

#include "persist/RWCollectableString.h"

class TWInstrument;

// A named entry point to an instrument, found by the instrument's name.
class TWInstrumentAlias : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWInstrumentAlias)
public:
    TWInstrumentAlias() = default;
    TWInstrumentAlias(const RWCString& alias, const RWCString& instrument, const RWCString& family, bool first,
                      bool second)
        : mAliasName(alias), mInstrumentName(instrument), mFamily(family), mFirst(first), mSecond(second) {}

    const RWCollectableString& GetAliasName() const { return mAliasName; }
    const RWCollectableString& GetInstrumentName() const { return mInstrumentName; }
    const RWCollectableString& GetFamily() const { return mFamily; }
    bool GetFirstFlag() const { return mFirst; }
    bool GetSecondFlag() const { return mSecond; }
    // Nil: the instrument is found by name.
    TWInstrument* GetInstrument() const { return mInstrument; }

    // Instrument name, family, alias name, the two flags as ints.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    RWCollectableString mAliasName;
    RWCollectableString mInstrumentName;
    RWCollectableString mFamily;
    bool mFirst = false;
    bool mSecond = false;
    TWInstrument* mInstrument = nullptr;
};
