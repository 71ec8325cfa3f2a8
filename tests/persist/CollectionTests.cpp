// Containers: lookup rules, saved form and saved order.
#include "StreamTestUtil.h"

#include "persist/RWCollectableInt.h"
#include "persist/RWCollectableString.h"
#include "persist/RWCreationLog.h"
#include "persist/RWGraphIO.h"
#include "persist/RWHashDictionary.h"
#include "persist/RWOrdered.h"
#include "persist/RWRarelyUsedCollections.h"
#include "persist/RWSet.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::vector<std::string> texts(const RWCollection& c)
{
    std::vector<std::string> out;
    c.forEach([&](RWCollectable* p) { out.push_back(static_cast<RWCollectableString*>(p)->str()); });
    return out;
}

// Reads a graph and releases every object it created when the test ends.
struct ReadGraph {
    explicit ReadGraph(const std::string& text) : root(rwRestoreFromString(text)) { created = log.objects(); }
    ~ReadGraph()
    {
        for (RWCollectable* p : created)
            if (auto* c = dynamic_cast<RWCollection*>(p))
                c->removeAll();
        for (RWCollectable* p : created)
            delete p;
    }
    RWCreationLog log;
    RWCollectable* root;
    std::vector<RWCollectable*> created;
};

TEST(Ordered, SequenceOperationsAndEqualityLookups)
{
    RWCollectableString a("a"), b("b"), a2("a"), c("c");
    RWOrdered list;
    EXPECT_EQ(list.first(), nullptr);
    list.insert(&a);
    list.insert(&b);
    list.insert(&a2); // duplicates are kept
    EXPECT_EQ(list.insertAt(1, &c), &c);
    EXPECT_EQ(list.insertAt(9, &c), nullptr);
    EXPECT_EQ(list.insert(nullptr), nullptr);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a", "c", "b", "a"}));
    EXPECT_EQ(list.entries(), 4u);
    EXPECT_EQ(list.first(), &a);
    EXPECT_EQ(list.last(), &a2);
    RWCollectableString key("a");
    EXPECT_EQ(list.index(&key), 0u);
    EXPECT_EQ(list.find(&key), &a);
    EXPECT_EQ(list.remove(&key), &a);
    EXPECT_EQ(list.find(&key), &a2);
    EXPECT_EQ(list.removeAt(0), &c);
    EXPECT_EQ(list.removeAt(5), nullptr);
    EXPECT_EQ(list.at(7), nullptr);
    RWCollectableString missing("zz");
    EXPECT_EQ(list.index(&missing), RW_NPOS);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"b", "a"}));
}

TEST(Ordered, SavedFormAndReadBack)
{
    RWCollectableString s("Tabla");
    RWCollectableInt i(-4);
    RWOrdered list;
    list.insert(&s);
    list.insert(&i);
    const std::string text = rwSaveToString(&list);
    EXPECT_EQ(text, ":32808\n\\[2\n:32779\n\\[5\n\"Tabla\"\\]:32778\n\\[-4\n\\]\\]");
    ReadGraph g(text);
    auto* back = dynamic_cast<RWOrdered*>(g.root);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->entries(), 2u);
    EXPECT_TRUE(back->at(0)->isEqual(&s));
    EXPECT_TRUE(back->at(1)->isEqual(&i));
}

TEST(Ordered, ClearAndDestroyDeletesSharedElementsOnce)
{
    auto* shared = new RWCollectableInt(1);
    RWOrdered list;
    list.insert(shared);
    list.insert(shared);
    list.insert(new RWCollectableInt(2));
    list.clearAndDestroy();
    EXPECT_TRUE(list.isEmpty());
}

// Buckets (hash modulo 64): "Dhol" 4, "Manjeera" 8, "abcde" 9, "\xe9" 9,
// "Tabla" 44, "Bells" 62.
TEST(HashedOrder, BucketsAscendingThenInsertionOrder)
{
    RWCollectableString tabla("Tabla"), bells("Bells"), dhol("Dhol"), manjeera("Manjeera"), five("abcde"),
        e9("\xe9");
    RWSet set;
    for (RWCollectableString* s : {&bells, &tabla, &e9, &dhol, &five, &manjeera})
        set.insert(s);
    EXPECT_EQ(texts(set), (std::vector<std::string>{"Dhol", "Manjeera", "\xe9", "abcde", "Tabla", "Bells"}));
    EXPECT_EQ(set.first(), &dhol);
    EXPECT_EQ(rwSaveToString(&set),
              ":32811\n\\[6\n:32779\n\\[4\n\"Dhol\"\\]:32779\n\\[8\n\"Manjeera\"\\]:32779\n\\[1\n\"\\xe9\"\\]"
              ":32779\n\\[5\n\"abcde\"\\]:32779\n\\[5\n\"Tabla\"\\]:32779\n\\[5\n\"Bells\"\\]\\]");
}

TEST(HashedOrder, IntsByValueModulo64)
{
    RWCollectableInt minusOne(-1), sixtyFive(65), one(1), zero(0);
    RWHashTable table;
    for (RWCollectableInt* i : {&minusOne, &sixtyFive, &one, &zero})
        table.insert(i);
    std::vector<int> order;
    table.forEach([&](RWCollectable* p) { order.push_back(static_cast<RWCollectableInt*>(p)->value()); });
    EXPECT_EQ(order, (std::vector<int>{0, 65, 1, -1}));
}

TEST(HashedOrder, ReadBackKeepsTheSavedOrder)
{
    RWCollectableString a("Bells"), b("Dhol"), c("Tabla");
    RWSet set;
    set.insert(&a);
    set.insert(&b);
    set.insert(&c);
    ReadGraph g(rwSaveToString(&set));
    auto* back = dynamic_cast<RWSet*>(g.root);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(texts(*back), texts(set));
}

TEST(Set, InsertOfAnEqualObjectAnswersThePresentOne)
{
    RWCollectableString a("x"), b("x"), c("y");
    RWSet set;
    EXPECT_EQ(set.insert(&a), &a);
    EXPECT_EQ(set.insert(&b), &a);
    EXPECT_EQ(set.insert(&c), &c);
    EXPECT_EQ(set.entries(), 2u);
    EXPECT_TRUE(set.contains(&b));
    EXPECT_EQ(set.find(&b), &a);
    EXPECT_EQ(set.remove(&b), &a);
    EXPECT_FALSE(set.contains(&b));
    EXPECT_EQ(set.remove(&b), nullptr);
    EXPECT_EQ(set.entries(), 1u);
}

TEST(Set, FileWithTwoEqualStringsReadsBackWithOne)
{
    ReadGraph g(":32811\n\\[3\n:32779\n\\[1\n\"a\"\\]:32779\n\\[1\n\"a\"\\]:32779\n\\[1\n\"b\"\\]\\]");
    auto* set = dynamic_cast<RWSet*>(g.root);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->entries(), 2u);
}

TEST(HashTable, KeepsEqualDuplicates)
{
    RWCollectableString a("x"), b("x");
    RWHashTable table;
    table.insert(&a);
    table.insert(&b);
    EXPECT_EQ(table.entries(), 2u);
    EXPECT_EQ(table.find(&b), &a);
    EXPECT_EQ(table.remove(&b), &a);
    EXPECT_EQ(table.find(&a), &b);
}

TEST(Dictionary, KeysAndValues)
{
    RWCollectableString k1("tempo"), k2("tempo"), k3("name");
    RWCollectableInt v1(120), v2(90);
    RWCollectableString v3("Raga");
    RWHashDictionary dict;
    EXPECT_EQ(dict.insertKeyAndValue(&k1, &v1), &k1);
    EXPECT_EQ(dict.insertKeyAndValue(&k2, &v2), nullptr); // equal key present
    EXPECT_EQ(dict.insertKeyAndValue(&k3, &v3), &k3);
    EXPECT_EQ(dict.insertKeyAndValue(nullptr, &v3), nullptr);
    EXPECT_EQ(dict.entries(), 2u);
    EXPECT_EQ(dict.findValue(&k2), &v1);
    RWCollectable* value = nullptr;
    EXPECT_EQ(dict.findKeyAndValue(&k2, value), &k1);
    EXPECT_EQ(value, &v1);
    EXPECT_EQ(dict.removeKeyAndValue(&k2, value), &k1);
    EXPECT_EQ(value, &v1);
    EXPECT_EQ(dict.findValue(&k1), nullptr);
    RWCollectableString other("other");
    EXPECT_EQ(dict.findValue(&other), nullptr);
}

TEST(Dictionary, SavedAsAssociationObjects)
{
    RWCollectableString key("Main");
    RWCollectableInt value(3);
    RWHashDictionary dict;
    dict.insertKeyAndValue(&key, &value);
    const std::string text = rwSaveToString(&dict);
    EXPECT_EQ(text, ":32802\n\\[1\n:32776\n\\[:32779\n\\[4\n\"Main\"\\]:32778\n\\[3\n\\]\\]\\]");
    ReadGraph g(text);
    auto* back = dynamic_cast<RWHashDictionary*>(g.root);
    ASSERT_NE(back, nullptr);
    auto* v = dynamic_cast<RWCollectableInt*>(back->findValue(&key));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->value(), 3);
}

TEST(Dictionary, ReadingDropsDuplicateKeysAndForeignElements)
{
    // Two associations with the key "k", a bare string, and an association
    // whose key is nil: only the first association is kept.
    ReadGraph g(":32802\n\\[4\n"
                ":32776\n\\[:32779\n\\[1\n\"k\"\\]:32778\n\\[1\n\\]\\]"
                ":32776\n\\[:32779\n\\[1\n\"k\"\\]:32778\n\\[2\n\\]\\]"
                ":32779\n\\[1\n\"s\"\\]"
                ":32776\n\\[@0\n@0\n\\]\\]");
    auto* dict = dynamic_cast<RWHashDictionary*>(g.root);
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(dict->entries(), 1u);
    RWCollectableString k("k");
    auto* v = dynamic_cast<RWCollectableInt*>(dict->findValue(&k));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->value(), 1);
}

TEST(Dictionary, ClearAndDestroyDeletesKeysValuesAndAssociations)
{
    RWHashDictionary dict;
    auto* shared = new RWCollectableInt(5);
    dict.insertKeyAndValue(new RWCollectableString("a"), shared);
    dict.insertKeyAndValue(new RWCollectableString("b"), shared);
    dict.clearAndDestroy();
    EXPECT_TRUE(dict.isEmpty());
}

// Keys that lead back to their own association would make hash() and
// isEqual() recurse without end.
TEST(Dictionary, AssociationKeyCyclesAreRejected)
{
    const char* cycles[] = {
        ":32802\n\\[1\n:32776\n\\[@2\n@0\n\\]\\]",
        ":32802\n\\[1\n:32776\n\\[:32776\n\\[@2\n@0\n\\]@0\n\\]\\]",
    };
    for (const char* text : cycles) {
        ReadGraph g(text);
        auto* dict = dynamic_cast<RWHashDictionary*>(g.root);
        ASSERT_NE(dict, nullptr) << text;
        EXPECT_EQ(dict->entries(), 0u);
        for (RWCollectable* p : g.created) {
            (void)p->hash();
            if (p != dict) {
                EXPECT_FALSE(p->isEqual(dict));
            }
        }
    }
}

TEST(Ordered, ClearAndDestroyOfAListThatHoldsItself)
{
    auto* list = new RWOrdered;
    list->insert(list);
    list->insert(new RWCollectableInt(1));
    list->clearAndDestroy();
    EXPECT_TRUE(list->isEmpty());
    delete list;
}

TEST(CollectionRead, NilElementsAreSkipped)
{
    ReadGraph g(":32808\n\\[3\n@0\n:32778\n\\[1\n\\]@0\n\\]");
    auto* list = dynamic_cast<RWOrdered*>(g.root);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->entries(), 1u);
}

TEST(CollectionRead, StopsAtTheFirstBadRead)
{
    ReadGraph g(":32808\n\\[3\n:32778\n\\[1\n\\]:32778\n\\[x");
    auto* list = dynamic_cast<RWOrdered*>(g.root);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->entries(), 1u);
}

TEST(CollectionRead, HugeCountEndsWithTheInput)
{
    ReadGraph g(":32808\n\\[18446744073709551615\n:32778\n\\[1\n\\]");
    auto* list = dynamic_cast<RWOrdered*>(g.root);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->entries(), 1u);
}

TEST(CollectionRead, ReadingEmptiesTheContainerFirst)
{
    RWCollectableInt old(9);
    RWOrdered list;
    list.insert(&old);
    TextIn in(":32808\n\\[0\n\\]");
    RWCollectable::recursiveRestoreFrom(in.s, &list);
    EXPECT_TRUE(list.isEmpty());
}

TEST(RarelyUsed, IdentitySetAndBag)
{
    RWCollectableString a("x"), b("x");
    RWIdentitySet ids;
    EXPECT_EQ(ids.insert(&a), &a);
    EXPECT_EQ(ids.insert(&b), &b);
    EXPECT_EQ(ids.insert(&a), &a);
    EXPECT_EQ(ids.entries(), 2u);
    EXPECT_EQ(ids.remove(&b), &b);
    EXPECT_EQ(ids.find(&b), nullptr);
    RWBag bag;
    bag.insert(&a);
    bag.insert(&b);
    EXPECT_EQ(bag.entries(), 2u);
    EXPECT_EQ(rwSaveToString(&bag).substr(0, 9), ":32795\n\\[");
}

} // namespace
