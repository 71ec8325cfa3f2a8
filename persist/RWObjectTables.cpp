#include "persist/RWObjectTables.h"

#include <memory>

namespace {

struct ThreadTables {
    int saveDepth = 0;
    std::unique_ptr<RWStoreTable> store;
    int restoreDepth = 0;
    std::unique_ptr<RWReadTable> read;
};

thread_local ThreadTables tables;

} // namespace

RWStoreTable::RWStoreTable()
{
    add(nullptr);
}

int RWStoreTable::find(const RWCollectable* p) const
{
    auto it = numbers_.find(p);
    return it == numbers_.end() ? -1 : it->second;
}

int RWStoreTable::add(const RWCollectable* p)
{
    const int number = next_++;
    numbers_[p] = number;
    return number;
}

void RWStoreTable::forget(const RWCollectable* p, int number)
{
    auto it = numbers_.find(p);
    if (it != numbers_.end() && it->second == number)
        numbers_.erase(it);
}

RWSaveScope::RWSaveScope()
{
    if (tables.saveDepth++ == 0)
        tables.store = std::make_unique<RWStoreTable>();
}

RWSaveScope::~RWSaveScope()
{
    if (--tables.saveDepth == 0)
        tables.store.reset();
}

RWStoreTable& RWSaveScope::table()
{
    return *tables.store;
}

RWRestoreScope::RWRestoreScope()
{
    if (tables.restoreDepth++ == 0)
        tables.read = std::make_unique<RWReadTable>();
}

RWRestoreScope::~RWRestoreScope()
{
    if (--tables.restoreDepth == 0)
        tables.read.reset();
}

RWReadTable& RWRestoreScope::table()
{
    return *tables.read;
}

int RWRestoreScope::depth() const
{
    return tables.restoreDepth;
}
