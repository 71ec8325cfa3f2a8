#include "persist/RWSet.h"

RW_DEFINE_COLLECTABLE(RWSet, RWClassIDs::set)

RWCollectable* RWSet::insert(RWCollectable* p)
{
    if (!p)
        return nullptr;
    const unsigned h = p->hash();
    if (RWCollectable* present = findHashed(p, h))
        return present;
    add(p, h);
    return p;
}
