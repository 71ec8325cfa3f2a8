#include "persist/RWRarelyUsedCollections.h"

#include <cstdint>

RW_DEFINE_COLLECTABLE(RWIdentitySet, RWClassIDs::identitySet)
RW_DEFINE_COLLECTABLE(RWBag, RWClassIDs::bag)
RW_DEFINE_COLLECTABLE(RWSlistCollectables, RWClassIDs::slistCollectables)
RW_DEFINE_COLLECTABLE(RWCollectableIDAssociation, RWClassIDs::collectableIDAssociation)

namespace {

unsigned addressHash(const void* p)
{
    const auto a = reinterpret_cast<std::uintptr_t>(p);
    return static_cast<unsigned>(a ^ (a >> 3));
}

} // namespace

RWCollectable* RWIdentitySet::insert(RWCollectable* p)
{
    if (!p)
        return nullptr;
    if (RWCollectable* present = find(p))
        return present;
    add(p, addressHash(p));
    return p;
}

RWCollectable* RWIdentitySet::find(const RWCollectable* key) const
{
    return key ? findIdentical(key, addressHash(key)) : nullptr;
}

RWCollectable* RWIdentitySet::remove(const RWCollectable* key)
{
    return key ? removeIdentical(key, addressHash(key)) : nullptr;
}

unsigned RWCollectableIDAssociation::hash() const
{
    return addressHash(key_);
}

bool RWCollectableIDAssociation::isEqual(const RWCollectable* other) const
{
    const RWCollectable* k = keyOf(other);
    return key_ && key_ == k;
}
