#include "persist/RWCollection.h"

#include "persist/RWvistream.h"
#include "persist/RWvostream.h"

#include <unordered_set>
#include <vector>

void RWCollection::clearAndDestroy()
{
    std::vector<RWCollectable*> items;
    forEach([&](RWCollectable* p) { items.push_back(p); });
    clear();
    // A container that holds itself is not deleted from inside.
    std::unordered_set<RWCollectable*> deleted{this};
    for (RWCollectable* p : items)
        if (deleted.insert(p).second)
            delete p;
}

void RWCollection::saveGuts(RWvostream& s) const
{
    s << static_cast<unsigned long>(entries());
    forEach([&](RWCollectable* p) { p->recursiveSaveOn(s); });
}

void RWCollection::restoreGuts(RWvistream& s)
{
    clear();
    unsigned long count = 0;
    s >> count;
    // Each element takes input, so a large count ends with the input.
    for (unsigned long i = 0; i < count && s.good(); ++i) {
        RWCollectable* p = recursiveRestoreFrom(s, nullptr);
        if (s.good() && p)
            insert(p);
    }
}
