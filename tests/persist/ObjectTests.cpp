// Object encoding, shared references, the factory and the reading errors.
#include "StreamTestUtil.h"

#include "persist/RWCollectableInt.h"
#include "persist/RWCollectableString.h"
#include "persist/RWCreationLog.h"
#include "persist/RWFactory.h"
#include "persist/RWGraphIO.h"
#include "persist/RWOrdered.h"
#include "persist/RWReadingVersion.h"
#include "persist/RWxmsg.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

constexpr RWClassID kTestSongID = 5001;

// A small model-like class: a member object, a pointer field and a number.
class TestSong : public RWCollectable {
    RW_DECLARE_COLLECTABLE(TestSong)
public:
    RWCollectableString name;
    RWCollectable* other = nullptr;
    int tempo = 0;

    void saveGuts(RWvostream& s) const override
    {
        name.recursiveSaveOn(s);
        s << other;
        s << tempo;
    }
    void restoreGuts(RWvistream& s) override
    {
        recursiveRestoreFrom(s, &name);
        other = recursiveRestoreFrom(s);
        s >> tempo;
    }
};

RW_DEFINE_COLLECTABLE(TestSong, kTestSongID)

const bool registered = rwAddToFactory(&TestSong::create, kTestSongID);

std::string saved(const RWCollectable* p)
{
    return rwSaveToString(p);
}

TEST(ObjectWrite, FirstReferenceIsWrittenInFull)
{
    RWCollectableString main("Main");
    EXPECT_EQ(saved(&main), ":32779\n\\[4\n\"Main\"\\]");
}

TEST(ObjectWrite, NilIsAtZero)
{
    EXPECT_EQ(saved(nullptr), "@0\n");
}

TEST(ObjectWrite, SecondReferenceToTheSameObjectIsABackReference)
{
    RWCollectableString main("Main");
    RWOrdered list;
    list.insert(&main);
    list.insert(&main);
    EXPECT_EQ(saved(&list), ":32808\n\\[2\n:32779\n\\[4\n\"Main\"\\]@2\n\\]");
}

TEST(ObjectWrite, EqualValuesAreStillDistinctObjects)
{
    RWCollectableString a("x"), b("x");
    RWOrdered list;
    list.insert(&a);
    list.insert(&b);
    EXPECT_EQ(saved(&list), ":32808\n\\[2\n:32779\n\\[1\n\"x\"\\]:32779\n\\[1\n\"x\"\\]\\]");
}

TEST(ObjectWrite, NumberingStartsAfreshInEveryOutermostCall)
{
    RWCollectableInt seven(7);
    const std::string text = writeText([&](RWpostream& s) {
        s << &seven;
        s << &seven;
    });
    EXPECT_EQ(text, ":32778\n\\[7\n\\]:32778\n\\[7\n\\]");
}

TEST(ObjectWrite, MemberObjectsAndPointerFields)
{
    TestSong song;
    song.name = RWCString("Raga");
    song.other = &song.name;
    song.tempo = 96;
    EXPECT_EQ(saved(&song), ":5001\n\\[:32779\n\\[4\n\"Raga\"\\]@2\n96\n\\]");
}

TEST(ObjectWrite, TemporariesAreWrittenAsNewObjects)
{
    // Two temporaries that share one address are both written in full, and
    // numbered, so that the reader's numbering stays in step.
    RWCollectableString keep("k");
    const std::string text = writeText([&](RWpostream& s) {
        RWOrdered holder;
        holder.insert(&keep);
        struct Writer : RWCollectable {
            const RWCollectable* kept;
            void saveGuts(RWvostream& st) const override
            {
                for (int i = 0; i < 2; ++i) {
                    RWCollectableInt temporary(i);
                    temporary.saveAsNewObject(st);
                }
                st << kept;
            }
        } writer;
        writer.kept = &keep;
        s << &writer;
        s << &keep;
    });
    EXPECT_EQ(text, ":32775\n\\[:32778\n\\[0\n\\]:32778\n\\[1\n\\]:32779\n\\[1\n\"k\"\\]\\]:32779\n\\[1\n\"k\"\\]");
}

TEST(ObjectRead, SharedReferencesComeBackAsOneObject)
{
    RWCollectableString main("Main");
    RWOrdered list;
    list.insert(&main);
    list.insert(&main);
    std::unique_ptr<RWCollectable> back(rwRestoreFromString(saved(&list)));
    auto* read = dynamic_cast<RWOrdered*>(back.get());
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->entries(), 2u);
    EXPECT_EQ(read->at(0), read->at(1));
    EXPECT_TRUE(read->at(0)->isEqual(&main));
    delete read->at(0);
}

TEST(ObjectRead, MemberObjectIsReadIntoItsOwner)
{
    TestSong song;
    song.name = RWCString("Raga");
    song.other = &song.name;
    song.tempo = 96;
    std::unique_ptr<RWCollectable> back(rwRestoreFromString(saved(&song)));
    auto* read = dynamic_cast<TestSong*>(back.get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(static_cast<const RWCString&>(read->name), "Raga");
    EXPECT_EQ(read->other, &read->name);
    EXPECT_EQ(read->tempo, 96);
}

TEST(ObjectRead, NilAndEmptyInput)
{
    EXPECT_EQ(rwRestoreFromString("@0\n"), nullptr);
    EXPECT_EQ(rwRestoreFromString(""), nullptr);
    EXPECT_EQ(rwRestoreFromString(" \n\n "), nullptr);
}

TEST(ObjectRead, LiteralBraceIsAcceptedAsTheObjectBrace)
{
    std::unique_ptr<RWCollectable> p(rwRestoreFromString(":32778\n{4\n}"));
    auto* i = dynamic_cast<RWCollectableInt*>(p.get());
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->value(), 4);
}

TEST(ObjectRead, MarkersAfterWrapLineFeeds)
{
    std::unique_ptr<RWCollectable> p(rwRestoreFromString("\n\n:\n32779\n\n\\[\n2\n\n\"o\nk\"\n\\]"));
    auto* s = dynamic_cast<RWCollectableString*>(p.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(static_cast<const RWCString&>(*s), "ok");
}

struct FormatErrorCase {
    const char* text;
};

TEST(ObjectRead, FormatErrorsSetFailAndAnswerNil)
{
    const FormatErrorCase cases[] = {
        {":32779\n4\n\"Main\"\\]"}, // missing left brace
        {"#32779\n"},               // unexpected marker
        {":x\\["},                  // malformed class identifier
        {":70000\n\\["},            // class identifier beyond 16 bits
        {"@x"},
    };
    for (const FormatErrorCase& c : cases) {
        TextIn in(c.text);
        EXPECT_EQ(RWCollectable::recursiveRestoreFrom(in.s), nullptr) << c.text;
        EXPECT_TRUE(in.s.fail()) << c.text;
        EXPECT_EQ(RWCollectable::recursiveRestoreFrom(in.s), nullptr);
    }
}

TEST(ObjectRead, BackReferenceBeyondTheReadTable)
{
    // The list is object 1 and its strings 2 to 4: number 5 was never read.
    const char* text = ":32808\n\\[4\n:32779\n\\[1\n\"a\"\\]:32779\n\\[1\n\"b\"\\]:32779\n\\[1\n\"c\"\\]@5\n\\]";
    try {
        rwRestoreFromString(text);
        FAIL() << "no error raised";
    } catch (const RWInternalErr& e) {
        EXPECT_STREQ(e.what(), "[REF] Bad persistence reference");
    }
    EXPECT_THROW(rwRestoreFromString(":32808\n\\[1\n@-1\n\\]"), RWInternalErr);
    EXPECT_THROW(rwRestoreFromString("@1\n"), RWInternalErr);
}

TEST(ObjectRead, BackReferenceThatIsNotTheMember)
{
    // The member name is read from "@1", which is the song itself.
    EXPECT_THROW(rwRestoreFromString(":5001\n\\[@1\n@0\n5\n\\]"), RWInternalErr);
    // Nil is never a member either.
    EXPECT_THROW(rwRestoreFromString(":5001\n\\[@0\n@0\n5\n\\]"), RWInternalErr);
}

TEST(ObjectRead, MemberReadIgnoresTheClassIdentifier)
{
    std::unique_ptr<RWCollectable> p(rwRestoreFromString(":5001\n\\[:12345\n\\[2\n\"ab\"\\]@0\n5\n\\]"));
    auto* song = dynamic_cast<TestSong*>(p.get());
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(static_cast<const RWCString&>(song->name), "ab");
    EXPECT_EQ(song->tempo, 5);
}

TEST(ObjectRead, UnregisteredClass)
{
    try {
        rwRestoreFromString(":999\n\\[\\]");
        FAIL() << "no error raised";
    } catch (const RWInternalErr& e) {
        EXPECT_STREQ(e.what(), "[NOCREATE] RWFactory: no create function for class with ID 999 (0x3e7)");
    }
}

TEST(ObjectRead, TruncatedInputGivesAPartlyRestoredGraph)
{
    TestSong song;
    song.name = RWCString("Raga");
    song.tempo = 96;
    const std::string text = saved(&song);
    for (size_t cut = 0; cut < text.size(); ++cut) {
        std::unique_ptr<RWCollectable> p(rwRestoreFromString(text.substr(0, cut)));
        if (auto* s = dynamic_cast<TestSong*>(p.get())) {
            EXPECT_TRUE(s->tempo == 0 || s->tempo == 9 || s->tempo == 96);
        }
    }
}

std::string nested(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += ":32808\n\\[1\n";
    text += "@0\n";
    for (int i = 0; i < depth; ++i)
        text += "\\]";
    return text;
}

TEST(ObjectRead, NestingDepthIsBounded)
{
    RWCreationLog log;
    EXPECT_NO_THROW(rwRestoreFromString(nested(RWCollectable::maxNestingDepth)));
    log.destroyAll();
    try {
        rwRestoreFromString(nested(RWCollectable::maxNestingDepth + 1));
        FAIL() << "no error raised";
    } catch (const RWExternalErr& e) {
        EXPECT_STREQ(e.what(), "[NESTING] Objects nested deeper than 256 levels");
    }
    EXPECT_THROW(rwRestoreFromString(nested(100000)), RWExternalErr);
}

TEST(ObjectRead, TablesAreDiscardedAfterAnError)
{
    EXPECT_THROW(rwRestoreFromString(":32808\n\\[1\n@7\n\\]"), RWInternalErr);
    // A fresh read starts with only the nil entry again.
    EXPECT_THROW(rwRestoreFromString("@1\n"), RWInternalErr);
    std::unique_ptr<RWCollectable> p(rwRestoreFromString(":32778\n\\[3\n\\]"));
    EXPECT_NE(p, nullptr);
}

TEST(CreationLog, RecordsWhatTheFactoryCreated)
{
    RWCreationLog log;
    TextIn in(":32808\n\\[2\n:32778\n\\[1\n\\]@2\n\\]");
    RWCollectable* root = RWCollectable::recursiveRestoreFrom(in.s);
    ASSERT_EQ(log.objects().size(), 2u);
    EXPECT_EQ(log.objects()[0], root);
    log.destroyAll();
    EXPECT_TRUE(log.objects().empty());
}

TEST(Factory, FirstRegistrationWins)
{
    struct A : RWCollectable {
        RWClassID isA() const override { return 6001; }
    };
    struct B : RWCollectable {
        RWClassID isA() const override { return 6002; }
    };
    EXPECT_TRUE(rwAddToFactory([]() -> RWCollectable* { return new A; }, 6000));
    EXPECT_FALSE(rwAddToFactory([]() -> RWCollectable* { return new B; }, 6000));
    std::unique_ptr<RWCollectable> p(rwCreateFromFactory(6000));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->isA(), 6001);
    EXPECT_EQ(rwCreateFromFactory(6999), nullptr);
    EXPECT_FALSE(rwAddToFactory(nullptr, 6998));
    EXPECT_FALSE(RWFactory::instance().isRegistered(6998));
}

TEST(Factory, LayerClassesAreRegistered)
{
    const RWClassID ids[] = {0x8007, 0x8008, 0x800A, 0x800B, 0x801B, 0x8022, 0x8025,
                             0x8028, 0x802B, 0x8033, 0x805E, 0x805F, 40};
    for (RWClassID id : ids) {
        std::unique_ptr<RWCollectable> p(rwCreateFromFactory(id));
        ASSERT_NE(p, nullptr) << id;
        EXPECT_EQ(p->isA(), id);
        std::unique_ptr<RWCollectable> species(p->newSpecies());
        EXPECT_EQ(species->isA(), id);
    }
    // A layer class cannot be replaced.
    EXPECT_FALSE(rwAddToFactory([]() -> RWCollectable* { return new RWOrdered; }, 0x800B));
}

TEST(Factory, ConcurrentRegistrationKeepsOneCreator)
{
    std::vector<std::thread> threads;
    std::atomic<int> wins{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (RWClassID id = 7000; id < 7200; ++id)
                if (rwAddToFactory([]() -> RWCollectable* { return new RWCollectableInt; }, id))
                    ++wins;
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(wins.load(), 200);
}

TEST(ThreadTables, ThreadsSaveAndReadIndependently)
{
    std::vector<std::thread> threads;
    std::atomic<int> good{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round) {
                RWCollectableInt value(t);
                RWOrdered list;
                list.insert(&value);
                list.insert(&value);
                const std::string text = rwSaveToString(&list);
                std::unique_ptr<RWCollectable> back(rwRestoreFromString(text));
                auto* l = dynamic_cast<RWOrdered*>(back.get());
                if (text == ":32808\n\\[2\n:32778\n\\[" + std::to_string(t) + "\n\\]@2\n\\]" && l
                    && l->entries() == 2 && l->at(0) == l->at(1))
                    ++good;
                if (l)
                    delete l->at(0);
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(good.load(), 200);
}

TEST(ReadingVersion, TagsCompareExactly)
{
    RWReadingVersionScope scope("QN3000");
    EXPECT_EQ(rwGetReadingVersion(), "QN3000");
    EXPECT_TRUE(rwReadingVersionAtLeast("QN300"));
    EXPECT_FALSE(rwReadingVersionAtLeast("QN304"));
    rwSetReadingVersion("QN313");
    EXPECT_TRUE(rwReadingVersionAtLeast("QN312"));
    EXPECT_TRUE(rwReadingVersionAtLeast("QN313"));
    EXPECT_FALSE(rwReadingVersionAtLeast("QN314"));
}

TEST(ReadingVersion, ScopeRestoresAndThreadsAreSeparate)
{
    EXPECT_EQ(rwGetReadingVersion(), "");
    {
        RWReadingVersionScope scope("QN308");
        RWCString seenByOtherThread("unset");
        std::thread([&] { seenByOtherThread = rwGetReadingVersion(); }).join();
        EXPECT_EQ(seenByOtherThread, "");
        EXPECT_EQ(rwGetReadingVersion(), "QN308");
    }
    EXPECT_EQ(rwGetReadingVersion(), "");
}

TEST(FileIO, SaveAndRestoreAFile)
{
    const std::string path = ::testing::TempDir() + "persist_file_io.dat";
    RWCollectableString tag("QN313");
    ASSERT_TRUE(rwSaveToFile(path, &tag));
    std::unique_ptr<RWCollectable> back(rwRestoreFromFile(path));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isEqual(&tag));
    EXPECT_EQ(rwRestoreFromFile(path + ".missing"), nullptr);
    EXPECT_EQ(rwRestoreFromFile(::testing::TempDir()), nullptr); // a folder reads as nothing
    std::remove(path.c_str());
}

} // namespace
