#include "persist/RWHashTable.h"

RW_DEFINE_COLLECTABLE(RWHashTable, RWClassIDs::hashTable)

void RWHashTable::add(RWCollectable* p, unsigned h)
{
    buckets_[h % bucketCount].push_back({h, p});
    ++count_;
}

RWCollectable* RWHashTable::findHashed(const RWCollectable* key, unsigned h) const
{
    for (const Entry& e : buckets_[h % bucketCount])
        if (e.hash == h && e.object->isEqual(key))
            return e.object;
    return nullptr;
}

RWCollectable* RWHashTable::findIdentical(const RWCollectable* p, unsigned h) const
{
    for (const Entry& e : buckets_[h % bucketCount])
        if (e.object == p)
            return e.object;
    return nullptr;
}

RWCollectable* RWHashTable::removeIdentical(const RWCollectable* p, unsigned h)
{
    std::vector<Entry>& bucket = buckets_[h % bucketCount];
    for (auto it = bucket.begin(); it != bucket.end(); ++it)
        if (it->object == p) {
            RWCollectable* found = it->object;
            bucket.erase(it);
            --count_;
            return found;
        }
    return nullptr;
}

RWCollectable* RWHashTable::insert(RWCollectable* p)
{
    if (!p)
        return nullptr;
    add(p, p->hash());
    return p;
}

RWCollectable* RWHashTable::find(const RWCollectable* key) const
{
    return key ? findHashed(key, key->hash()) : nullptr;
}

RWCollectable* RWHashTable::remove(const RWCollectable* key)
{
    if (!key)
        return nullptr;
    const unsigned h = key->hash();
    std::vector<Entry>& bucket = buckets_[h % bucketCount];
    for (auto it = bucket.begin(); it != bucket.end(); ++it)
        if (it->hash == h && it->object->isEqual(key)) {
            RWCollectable* p = it->object;
            bucket.erase(it);
            --count_;
            return p;
        }
    return nullptr;
}

void RWHashTable::clear()
{
    for (auto& bucket : buckets_)
        bucket.clear();
    count_ = 0;
}

void RWHashTable::forEach(const Visitor& visit) const
{
    for (const auto& bucket : buckets_)
        for (const Entry& e : bucket)
            visit(e.object);
}

RWCollectable* RWHashTable::first() const
{
    for (const auto& bucket : buckets_)
        if (!bucket.empty())
            return bucket.front().object;
    return nullptr;
}

std::vector<RWCollectable*> RWHashTable::items() const
{
    std::vector<RWCollectable*> out;
    out.reserve(count_);
    forEach([&](RWCollectable* p) { out.push_back(p); });
    return out;
}
