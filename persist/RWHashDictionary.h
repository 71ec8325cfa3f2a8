// Map from key object to value object, held as a set of
// RWCollectableAssociation objects (which the dictionary owns).
#pragma once

#include "persist/RWCollectableAssociation.h"
#include "persist/RWSet.h"

#include <functional>

class RWHashDictionary : public RWSet {
    RW_DECLARE_COLLECTABLE(RWHashDictionary)
public:
    RWHashDictionary() = default;
    RWHashDictionary(const RWHashDictionary& other);
    RWHashDictionary& operator=(const RWHashDictionary& other);
    ~RWHashDictionary() override;

    /// Adds an association unless an equal key is present; answers the key,
    /// or nil when nothing was added.
    RWCollectable* insertKeyAndValue(RWCollectable* key, RWCollectable* value);
    RWCollectable* findValue(const RWCollectable* key) const;
    /// Answers the stored key and sets `value`; nil when the key is absent.
    RWCollectable* findKeyAndValue(const RWCollectable* key, RWCollectable*& value) const;
    /// Removes the entry; answers the stored key and sets `value`.
    RWCollectable* removeKeyAndValue(const RWCollectable* key, RWCollectable*& value);
    /// Calls `visit` with every key and value in iteration order.
    void forEachKeyAndValue(const std::function<void(RWCollectable* key, RWCollectable* value)>& visit) const;

    /// Accepts only an RWCollectableAssociation with a key, and only when its
    /// key is not present yet (reading uses this).
    RWCollectable* insert(RWCollectable* p) override;
    /// Removes the entry for `key`, deletes its association and answers the key.
    RWCollectable* remove(const RWCollectable* key) override;
    /// Deletes the associations; keys and values stay with their owners.
    void clear() override;
    /// Deletes every key, value and association once.
    void clearAndDestroy() override;
    void removeAll() override { RWHashTable::clear(); }
};
