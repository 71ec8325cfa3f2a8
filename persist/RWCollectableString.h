// A persistent string: equal by bytes, hashed with the exact string hash.
#pragma once

#include "persist/RWCString.h"
#include "persist/RWCollectable.h"

class RWCollectableString : public RWCollectable, public RWCString {
    RW_DECLARE_COLLECTABLE(RWCollectableString)
public:
    RWCollectableString() = default;
    RWCollectableString(const char* text) : RWCString(text) {}
    RWCollectableString(const char* data, std::size_t length) : RWCString(data, length) {}
    RWCollectableString(const RWCString& s) : RWCString(s) {}

    using RWCString::compareTo;
    using RWCString::hash;

    int compareTo(const RWCollectable* other) const override;
    unsigned hash() const override;
    bool isEqual(const RWCollectable* other) const override;
    void restoreGuts(RWvistream& s) override;
    void saveGuts(RWvostream& s) const override;
};
