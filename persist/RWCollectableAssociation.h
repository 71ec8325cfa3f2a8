// A key and a value; what a hashed dictionary holds. Neither object is
// owned: deleting an association deletes neither its key nor its value.
#pragma once

#include "persist/RWCollectable.h"

class RWCollectableAssociation : public RWCollectable {
    RW_DECLARE_COLLECTABLE(RWCollectableAssociation)
public:
    RWCollectableAssociation() = default;
    RWCollectableAssociation(RWCollectable* key, RWCollectable* value) : key_(key), value_(value) {}

    RWCollectable* key() const { return key_; }
    RWCollectable* value() const { return value_; }
    /// Replaces the value and answers the old one.
    RWCollectable* value(RWCollectable* v);

    /// Compares keys.
    int compareTo(const RWCollectable* other) const override;
    /// The key's hash (0 without a key).
    unsigned hash() const override;
    /// True when the key equals `other` (a bare key or another association's key).
    bool isEqual(const RWCollectable* other) const override;
    void restoreGuts(RWvistream& s) override;
    void saveGuts(RWvostream& s) const override;

protected:
    /// The key to compare with: another association's key, or `other` itself.
    static const RWCollectable* keyOf(const RWCollectable* other);
    /// True when `key` is this association or reaches it through association keys.
    bool keyLeadsBack(const RWCollectable* key) const;

    RWCollectable* key_ = nullptr;
    RWCollectable* value_ = nullptr;
};
