// Classes registered in the factory so that files holding them can be read;
// no persistent class of the model holds one.
#pragma once

#include "persist/RWCollectableAssociation.h"
#include "persist/RWOrdered.h"
#include "persist/RWSet.h"

/// A set whose elements are equal only when they are the same object.
class RWIdentitySet : public RWSet {
    RW_DECLARE_COLLECTABLE(RWIdentitySet)
public:
    RWCollectable* insert(RWCollectable* p) override;
    RWCollectable* find(const RWCollectable* key) const override;
    RWCollectable* remove(const RWCollectable* key) override;
};

/// A hashed collection that keeps equal duplicates.
class RWBag : public RWHashTable {
    RW_DECLARE_COLLECTABLE(RWBag)
};

/// A singly linked list of objects (held in order).
class RWSlistCollectables : public RWOrdered {
    RW_DECLARE_COLLECTABLE(RWSlistCollectables)
};

/// An association whose key matches by identity.
class RWCollectableIDAssociation : public RWCollectableAssociation {
    RW_DECLARE_COLLECTABLE(RWCollectableIDAssociation)
public:
    RWCollectableIDAssociation() = default;
    RWCollectableIDAssociation(RWCollectable* key, RWCollectable* value) : RWCollectableAssociation(key, value) {}
    unsigned hash() const override;
    bool isEqual(const RWCollectable* other) const override;
};
