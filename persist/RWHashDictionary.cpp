#include "persist/RWHashDictionary.h"

#include <unordered_set>
#include <vector>

RW_DEFINE_COLLECTABLE(RWHashDictionary, RWClassIDs::hashDictionary)

RWHashDictionary::RWHashDictionary(const RWHashDictionary& other) : RWSet()
{
    *this = other;
}

RWHashDictionary& RWHashDictionary::operator=(const RWHashDictionary& other)
{
    if (this != &other) {
        clear();
        other.forEachKeyAndValue([&](RWCollectable* k, RWCollectable* v) { insertKeyAndValue(k, v); });
    }
    return *this;
}

RWHashDictionary::~RWHashDictionary()
{
    clear();
}

RWCollectable* RWHashDictionary::insert(RWCollectable* p)
{
    auto* a = dynamic_cast<RWCollectableAssociation*>(p);
    if (!a || !a->key())
        return nullptr;
    const unsigned h = a->hash();
    if (findHashed(a, h))
        return nullptr;
    add(a, h);
    return a;
}

RWCollectable* RWHashDictionary::insertKeyAndValue(RWCollectable* key, RWCollectable* value)
{
    if (!key || find(key))
        return nullptr;
    add(new RWCollectableAssociation(key, value), key->hash());
    return key;
}

RWCollectable* RWHashDictionary::findValue(const RWCollectable* key) const
{
    RWCollectable* value = nullptr;
    findKeyAndValue(key, value);
    return value;
}

RWCollectable* RWHashDictionary::findKeyAndValue(const RWCollectable* key, RWCollectable*& value) const
{
    auto* a = static_cast<RWCollectableAssociation*>(find(key));
    if (!a)
        return nullptr;
    value = a->value();
    return a->key();
}

RWCollectable* RWHashDictionary::removeKeyAndValue(const RWCollectable* key, RWCollectable*& value)
{
    auto* a = static_cast<RWCollectableAssociation*>(RWHashTable::remove(key));
    if (!a)
        return nullptr;
    value = a->value();
    RWCollectable* k = a->key();
    delete a;
    return k;
}

RWCollectable* RWHashDictionary::remove(const RWCollectable* key)
{
    RWCollectable* value = nullptr;
    return removeKeyAndValue(key, value);
}

void RWHashDictionary::forEachKeyAndValue(
    const std::function<void(RWCollectable* key, RWCollectable* value)>& visit) const
{
    forEach([&](RWCollectable* p) {
        auto* a = static_cast<RWCollectableAssociation*>(p);
        visit(a->key(), a->value());
    });
}

void RWHashDictionary::clear()
{
    std::vector<RWCollectable*> associations = items();
    RWHashTable::clear();
    for (RWCollectable* a : associations)
        delete a;
}

void RWHashDictionary::clearAndDestroy()
{
    std::vector<RWCollectable*> objects;
    forEachKeyAndValue([&](RWCollectable* k, RWCollectable* v) {
        objects.push_back(k);
        objects.push_back(v);
    });
    clear();
    std::unordered_set<RWCollectable*> deleted{this};
    for (RWCollectable* p : objects)
        if (p && deleted.insert(p).second)
            delete p;
}
