#include "persist/RWOrdered.h"

RW_DEFINE_COLLECTABLE(RWOrdered, RWClassIDs::ordered)

RWCollectable* RWOrdered::insert(RWCollectable* p)
{
    if (!p)
        return nullptr;
    items_.push_back(p);
    return p;
}

RWCollectable* RWOrdered::insertAt(std::size_t i, RWCollectable* p)
{
    if (!p || i > items_.size())
        return nullptr;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(i), p);
    return p;
}

RWCollectable* RWOrdered::removeAt(std::size_t i)
{
    if (i >= items_.size())
        return nullptr;
    RWCollectable* p = items_[i];
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
    return p;
}

std::size_t RWOrdered::index(const RWCollectable* key) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->isEqual(key))
            return i;
    return RW_NPOS;
}

RWCollectable* RWOrdered::find(const RWCollectable* key) const
{
    const std::size_t i = index(key);
    return i == RW_NPOS ? nullptr : items_[i];
}

RWCollectable* RWOrdered::remove(const RWCollectable* key)
{
    const std::size_t i = index(key);
    return i == RW_NPOS ? nullptr : removeAt(i);
}

void RWOrdered::forEach(const Visitor& visit) const
{
    for (RWCollectable* p : items_)
        visit(p);
}
