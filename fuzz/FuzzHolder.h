// A model-like class for the fuzz targets: a member string, a member
// fraction (both read into the holder) and a pointer field.
#pragma once

#include "persist/LMFraction.h"
#include "persist/RWCollectableString.h"
#include "persist/RWvistream.h"
#include "persist/RWvostream.h"

class FuzzHolder : public RWCollectable {
public:
    static constexpr RWClassID id = 9000;

    RWClassID isA() const override { return id; }
    RWCollectable* newSpecies() const override { return new FuzzHolder; }
    RWCollectable* copy() const override { return new FuzzHolder(*this); }
    static RWCollectable* create() { return new FuzzHolder; }

    void saveGuts(RWvostream& s) const override
    {
        name.recursiveSaveOn(s);
        length.recursiveSaveOn(s);
        s << link;
        s << volume;
        s << flag;
    }

    void restoreGuts(RWvistream& s) override
    {
        recursiveRestoreFrom(s, &name);
        recursiveRestoreFrom(s, &length);
        link = recursiveRestoreFrom(s);
        s >> volume;
        s >> flag;
    }

    RWCollectableString name;
    LMFraction length;
    RWCollectable* link = nullptr;
    float volume = 0;
    char flag = 0;
};
