// Hash table of object pointers: 64 buckets (the bucket is hash() modulo
// 64), insertion order within a bucket. Iteration, and so the saved order,
// runs over buckets 0 to 63. On its own it keeps equal duplicates.
#pragma once

#include "persist/RWCollection.h"

#include <vector>

class RWHashTable : public RWCollection {
    RW_DECLARE_COLLECTABLE(RWHashTable)
public:
    static constexpr std::size_t bucketCount = 64;

    RWHashTable() = default;

    std::size_t entries() const override { return count_; }
    /// Adds `p` (nil is refused).
    RWCollectable* insert(RWCollectable* p) override;
    RWCollectable* find(const RWCollectable* key) const override;
    RWCollectable* remove(const RWCollectable* key) override;
    void clear() override;
    void forEach(const Visitor& visit) const override;
    /// The first element in iteration order, or nil.
    RWCollectable* first() const;
    /// The elements in iteration order.
    std::vector<RWCollectable*> items() const;

protected:
    void add(RWCollectable* p, unsigned h);
    RWCollectable* findHashed(const RWCollectable* key, unsigned h) const;
    /// The element that is `p` itself, in the bucket of `h`.
    RWCollectable* findIdentical(const RWCollectable* p, unsigned h) const;
    RWCollectable* removeIdentical(const RWCollectable* p, unsigned h);

private:
    struct Entry {
        unsigned hash;
        RWCollectable* object;
    };
    std::vector<Entry> buckets_[bucketCount];
    std::size_t count_ = 0;
};
