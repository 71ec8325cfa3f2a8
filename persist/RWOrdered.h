// Object pointers in insertion order; duplicates allowed.
#pragma once

#include "persist/RWCollection.h"

#include <vector>

class RWOrdered : public RWCollection {
    RW_DECLARE_COLLECTABLE(RWOrdered)
public:
    RWOrdered() = default;

    std::size_t entries() const override { return items_.size(); }
    /// Appends `p`; nil is refused.
    RWCollectable* insert(RWCollectable* p) override;
    /// Inserts before position i (i == entries() appends); nil when i is out of range.
    RWCollectable* insertAt(std::size_t i, RWCollectable* p);
    /// Removes and answers the element at i; nil when i is out of range.
    RWCollectable* removeAt(std::size_t i);
    /// The element at i; nil when i is out of range.
    RWCollectable* at(std::size_t i) const { return i < items_.size() ? items_[i] : nullptr; }
    RWCollectable* operator[](std::size_t i) const { return at(i); }
    RWCollectable* first() const { return items_.empty() ? nullptr : items_.front(); }
    RWCollectable* last() const { return items_.empty() ? nullptr : items_.back(); }
    /// Position of the first element equal to `key`, or RW_NPOS.
    std::size_t index(const RWCollectable* key) const;
    RWCollectable* find(const RWCollectable* key) const override;
    RWCollectable* remove(const RWCollectable* key) override;
    void clear() override { items_.clear(); }
    void forEach(const Visitor& visit) const override;

    std::vector<RWCollectable*>::const_iterator begin() const { return items_.begin(); }
    std::vector<RWCollectable*>::const_iterator end() const { return items_.end(); }

private:
    std::vector<RWCollectable*> items_;
};
