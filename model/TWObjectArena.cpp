#include "model/TWObjectArena.h"

#include "persist/RWCollection.h"
#include "persist/RWCreationLog.h"

void TWObjectArena::AdoptObject(RWCollectable* p)
{
    if (p && mSet.insert(p).second)
        mObjects.push_back(p);
}

void TWObjectArena::AdoptAll(const std::vector<RWCollectable*>& objects)
{
    for (RWCollectable* p : objects)
        AdoptObject(p);
}

void TWObjectArena::DestroyAll()
{
    std::vector<RWCollectable*> objects;
    objects.swap(mObjects);
    mSet.clear();
    for (RWCollectable* p : objects)
        if (auto* c = dynamic_cast<RWCollection*>(p))
            c->removeAll();
    for (RWCollectable* p : objects)
        delete p;
}

RWCollectable* TWRestoreObjects(RWvistream& s, TWObjectArena& arena, RWCollectable* into)
{
    RWCreationLog log;
    RWCollectable* result = nullptr;
    try {
        result = RWCollectable::recursiveRestoreFrom(s, into);
    } catch (...) {
        log.destroyAll();
        throw;
    }
    arena.AdoptAll(log.objects());
    log.release();
    return result;
}
