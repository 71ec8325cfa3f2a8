// Base of the container classes and their saved form: the element count,
// then each element as an object in iteration order.
//
// Containers hold pointers they do not own: the destructor and clear()
// delete no element; clearAndDestroy() deletes them.
#pragma once

#include "persist/RWCollectable.h"

#include <cstddef>
#include <functional>

class RWCollection : public RWCollectable {
public:
    using Visitor = std::function<void(RWCollectable*)>;

    virtual std::size_t entries() const = 0;
    bool isEmpty() const { return entries() == 0; }
    /// Adds `p` as the container's rules say; answers `p`, an equal element
    /// already present (sets) or nil when nothing was added. Nil is refused.
    virtual RWCollectable* insert(RWCollectable* p) = 0;
    /// First element equal to `key`, or nil.
    virtual RWCollectable* find(const RWCollectable* key) const = 0;
    /// Removes the first element equal to `key` and answers it (nil if none).
    virtual RWCollectable* remove(const RWCollectable* key) = 0;
    bool contains(const RWCollectable* key) const { return find(key) != nullptr; }
    /// Empties the container without deleting the elements.
    virtual void clear() = 0;
    /// Deletes every element once, then empties the container.
    virtual void clearAndDestroy();
    /// Empties the container deleting nothing, not even objects it owns
    /// (a dictionary's associations). For releasing a graph object by object.
    virtual void removeAll() { clear(); }
    /// Calls `visit` for every element in iteration (and saving) order.
    virtual void forEach(const Visitor& visit) const = 0;

    /// Empties the container, then reads the count and the elements,
    /// inserting each with insert(); stops at the first read that leaves the
    /// stream not good. Nil elements are skipped.
    void restoreGuts(RWvistream& s) override;
    void saveGuts(RWvostream& s) const override;
};
