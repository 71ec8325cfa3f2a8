// Writes the seed corpus of the fuzz targets with the program's own writer.
// Usage: fuzz_make_seeds <folder>
#include "FuzzHolder.h"

#include "persist/RWCollectableInt.h"
#include "persist/RWFactory.h"
#include "persist/RWHashDictionary.h"
#include "persist/RWOrdered.h"
#include "persist/RWRarelyUsedCollections.h"
#include "persist/RWpfstream.h"

#include <cstdio>
#include <functional>
#include <string>

namespace {

bool writeSeed(const std::string& folder, const char* name, const std::function<void(RWpostream&)>& fill)
{
    RWpofstream s(folder + "/" + name);
    if (!s.isOpen())
        return false;
    fill(s);
    return s.close();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;

    ok &= writeSeed(folder, "tag_and_string", [](RWpostream& s) {
        RWCollectableString tag("QN313");
        s << &tag;
        s << RWCString("a \"\\{}\xe9");
    });
    ok &= writeSeed(folder, "ordered_shared", [](RWpostream& s) {
        RWCollectableString main("Main");
        RWCollectableInt n(-42);
        LMFraction f(3, 4);
        RWOrdered list;
        list.insert(&main);
        list.insert(&n);
        list.insert(&main);
        list.insert(&f);
        s << &list;
    });
    ok &= writeSeed(folder, "set_and_dictionary", [](RWpostream& s) {
        RWCollectableString a("Tabla"), b("Dholak"), c("Bells"), k("tempo");
        RWCollectableInt v(120);
        RWSet set;
        set.insert(&a);
        set.insert(&b);
        set.insert(&c);
        RWHashDictionary dict;
        dict.insertKeyAndValue(&k, &v);
        dict.insertKeyAndValue(&a, &set);
        s << &set;
        s << &dict;
    });
    ok &= writeSeed(folder, "holder_members", [](RWpostream& s) {
        FuzzHolder inner, outer;
        inner.name = RWCString(std::string(120, 'w'));
        inner.length = LMFraction(-7, 8);
        outer.name = RWCString("outer");
        outer.length = LMFraction(5);
        outer.link = &inner;
        inner.link = &outer;
        outer.volume = 0.25f;
        outer.flag = 1;
        s << &outer;
    });
    ok &= writeSeed(folder, "rare_collections", [](RWpostream& s) {
        RWCollectableString a("x");
        RWIdentitySet ids;
        ids.insert(&a);
        RWBag bag;
        bag.insert(&a);
        bag.insert(&a);
        RWSlistCollectables list;
        list.insert(&ids);
        list.insert(&bag);
        RWHashTable table;
        table.insert(&list);
        s << &table;
        s << L'\x263a';
    });
    return ok ? 0 : 1;
}
