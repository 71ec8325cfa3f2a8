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

bool TWObjectArena::Release(const RWCollectable* p)
{
    if (!p || mSet.erase(p) == 0)
        return false;
    for (auto it = mObjects.begin(); it != mObjects.end(); ++it)
        if (*it == p) {
            mObjects.erase(it);
            break;
        }
    return true;
}

void TWObjectArena::TakeAll(TWObjectArena& other)
{
    if (&other == this)
        return;
    std::vector<RWCollectable*> objects;
    objects.swap(other.mObjects);
    other.mSet.clear();
    AdoptAll(objects);
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
