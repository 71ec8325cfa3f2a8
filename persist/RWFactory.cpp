#include "persist/RWFactory.h"

#include "persist/LMFraction.h"
#include "persist/RWCollectableAssociation.h"
#include "persist/RWCollectableInt.h"
#include "persist/RWCollectableString.h"
#include "persist/RWHashDictionary.h"
#include "persist/RWOrdered.h"
#include "persist/RWRarelyUsedCollections.h"
#include "persist/RWSet.h"

namespace {

template <class T> RWCollectable* make()
{
    return new T;
}

} // namespace

RWFactory& RWFactory::instance()
{
    static RWFactory factory;
    return factory;
}

RWFactory::RWFactory()
{
    using namespace RWClassIDs;
    creators_ = {
        {collectable, &make<RWCollectable>},
        {collectableAssociation, &make<RWCollectableAssociation>},
        {collectableInt, &make<RWCollectableInt>},
        {collectableString, &make<RWCollectableString>},
        {bag, &make<RWBag>},
        {hashDictionary, &make<RWHashDictionary>},
        {identitySet, &make<RWIdentitySet>},
        {ordered, &make<RWOrdered>},
        {set, &make<RWSet>},
        {slistCollectables, &make<RWSlistCollectables>},
        {hashTable, &make<RWHashTable>},
        {collectableIDAssociation, &make<RWCollectableIDAssociation>},
        {fraction, &make<LMFraction>},
    };
}

bool RWFactory::addFunction(RWuserCreator creator, RWClassID id)
{
    if (!creator)
        return false;
    std::lock_guard<std::mutex> guard(lock_);
    return creators_.emplace(id, creator).second;
}

RWCollectable* RWFactory::create(RWClassID id) const
{
    RWuserCreator creator = nullptr;
    {
        std::lock_guard<std::mutex> guard(lock_);
        auto it = creators_.find(id);
        if (it != creators_.end())
            creator = it->second;
    }
    return creator ? creator() : nullptr;
}

bool RWFactory::isRegistered(RWClassID id) const
{
    std::lock_guard<std::mutex> guard(lock_);
    return creators_.count(id) != 0;
}

bool rwAddToFactory(RWuserCreator creator, RWClassID id)
{
    return RWFactory::instance().addFunction(creator, id);
}

RWCollectable* rwCreateFromFactory(RWClassID id)
{
    return RWFactory::instance().create(id);
}
