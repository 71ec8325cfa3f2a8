#include "ModelTestSupport.h"

#include "model/TWObjectArena.h"
#include "model/TWSound.h"
#include "model/TWStroke.h"
#include "model/TWStrokesManager.h"
#include "model/TWSwarManager.h"
#include "model/TWSymbolManager.h"
#include "persist/RWCollectableInt.h"
#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"
#include "persist/RWReadingVersion.h"
#include "persist/RWGraphIO.h"
#include "persist/RWpistream.h"

namespace
{
class NotesTest : public UserFolderTest
{
protected:
    RWCollectable* Read(const std::string& text, const char* tag)
    {
        RWReadingVersionScope scope(tag);
        std::istringstream in(text);
        RWpistream s(in);
        RWCollectable* p = TWRestoreObjects(s, mArena);
        mGood = !s.fail();
        return p;
    }
    TWObjectArena mArena;
    bool mGood = false;
};

TEST_F(NotesTest, TheTableHoldsOneCanonicalNotePerIndex)
{
    TWSwarManager* notes = GetSwarManager();
    notes->CreateAllNotes();
    for (unsigned long i = 0; i < 132; ++i) {
        const TWSwar* note = notes->GetNote(i);
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(note->GetIndex(), i);
        EXPECT_EQ((note->GetOctave() + 5) * 12 + note->GetPosition() - 1, static_cast<long>(i));
        const int p = note->GetPosition();
        EXPECT_EQ(note->isKomal(), p == 2 || p == 4 || p == 9 || p == 11) << i;
        EXPECT_EQ(note->isTivra(), p == 7) << i;
    }
    EXPECT_EQ(notes->GetNote(0)->GetOctave(), -5);
    EXPECT_EQ(notes->GetNote(131)->GetOctave(), 5);
    EXPECT_EQ(notes->GetNote(131)->GetPosition(), 12);
    EXPECT_EQ(notes->GetNote(132), nullptr);
}

TEST_F(NotesTest, ALegacyNoteIsReadAndReplacedByTheShiftedCanonicalNote)
{
    // Legacy layout: object, object, komal, index, object, position, octave,
    // object, tivra, object, object.
    const std::string text = WriteText([](RWvostream& s) {
        s << ':' << static_cast<unsigned short>(160) << '{';
        RWCollectableInt(1).saveAsNewObject(s);
        RWCollectableString("x").saveAsNewObject(s);
        s << 1 << 3ul;
        RWCollectableInt(2).saveAsNewObject(s);
        s << static_cast<short>(4) << static_cast<short>(-2);
        RWCollectableInt(3).saveAsNewObject(s);
        s << 0;
        RWCollectableInt(4).saveAsNewObject(s);
        RWCollectableInt(5).saveAsNewObject(s);
        s << '}';
    });
    RWReadingVersionScope scope("QN1");
    auto* legacy = dynamic_cast<TWSwar*>(Read(text, "QN1"));
    ASSERT_TRUE(mGood);
    ASSERT_NE(legacy, nullptr);
    EXPECT_TRUE(legacy->isKomal());
    EXPECT_FALSE(legacy->isTivra());
    EXPECT_EQ(legacy->GetIndex(), 3u);
    EXPECT_EQ(legacy->GetPosition(), 4);
    EXPECT_EQ(legacy->GetOctave(), -2);
    TWSwar* canonical = GetSwarManager()->ReplaceByCurrentNote(legacy);
    EXPECT_EQ(canonical, GetSwarManager()->GetNote(39));
    ASSERT_NE(GetSwarManager()->GetPreviousNote(39), nullptr);
    EXPECT_EQ(GetSwarManager()->GetPreviousNote(39)->GetOctave(), -2);
}

TEST_F(NotesTest, ReplacementFollowsTheTagOfTheFileBeingRead)
{
    struct Case { const char* tag; unsigned long index; long expected; };
    const Case cases[] = {
        { "", 0, 36 },          // a legacy note: octave -2, Sa
        { "QN1", 95, 131 },
        { "QN1", 96, -1 },      // beyond the table after the shift
        { "QN300", 0, 0 },
        { "QN313", 131, 131 },
        { "QN313", 132, -1 },
        { "QN313", static_cast<unsigned long>(-20), -1 },
    };
    TWSwarManager* notes = GetSwarManager();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tag) + " " + std::to_string(c.index));
        const std::string text = WriteText([&](RWvostream& s) {
            s << ':' << static_cast<unsigned short>(160) << '{' << c.index << static_cast<short>(1)
              << static_cast<short>(0) << 0 << 0 << '}';
        });
        // The current layout is read from QN300 on; the legacy cases only
        // need the shift, so a current-layout note is read under QN313.
        auto* note = dynamic_cast<TWSwar*>(Read(text, "QN313"));
        ASSERT_NE(note, nullptr);
        RWReadingVersionScope scope(c.tag);
        TWSwar* canonical = notes->ReplaceByCurrentNote(note);
        if (c.expected < 0)
            EXPECT_EQ(canonical, nullptr);
        else
            EXPECT_EQ(canonical, notes->GetNote(static_cast<unsigned long>(c.expected)));
    }
}

class StrokesTest : public NotesTest
{
protected:
    void SetUp() override
    {
        NotesTest::SetUp();
        GetStrokesManager()->Clear();
    }
    void TearDown() override
    {
        GetStrokesManager()->Clear();
        NotesTest::TearDown();
    }
};

TEST_F(StrokesTest, EqualTunedStrokesReadFromAFileAreHeldOnce)
{
    TWSound dha;
    RWCollectableString name("Dha");
    dha.mMembers[0] = &name;
    RWCollectableInt a(2), b(3), a2(2), b2(3), c(4);
    TWTunedStroke first, second, third;
    for (TWTunedStroke* s : { &first, &second, &third })
        s->mSound = &dha;
    first.mValues[0] = &a;
    first.mValues[1] = &b;
    second.mValues[0] = &a2;
    second.mValues[1] = &b2;
    third.mValues[0] = &a;
    third.mValues[1] = &c;
    first.mNote = second.mNote = third.mNote = GetSwarManager()->GetNote(60);
    RWOrdered list;
    list.insert(&first);
    list.insert(&second);
    list.insert(&third);
    const std::string text = rwSaveToString(&list);

    auto* read = dynamic_cast<RWOrdered*>(Read(text, "QN313"));
    ASSERT_TRUE(mGood);
    ASSERT_NE(read, nullptr);
    TWStrokesManager* strokes = GetStrokesManager();
    EXPECT_EQ(strokes->GetStrokeCount(), 2u);
    EXPECT_EQ(strokes->GetDuplicateCount(), 1u);
    EXPECT_EQ(strokes->GetSoundCount(), 1u);
    // The note read is the canonical one.
    EXPECT_EQ(static_cast<TWTunedStroke*>(read->at(0))->mNote, GetSwarManager()->GetNote(60));

    TWAudibleStroke* shared = strokes->GetTunedStroke("Dha", 2, 3, GetSwarManager()->GetNote(60));
    ASSERT_NE(shared, nullptr);
    EXPECT_TRUE(shared->isEqual(read->at(0)));
    EXPECT_TRUE(shared->isEqual(read->at(1)));
    EXPECT_EQ(strokes->AddTunedStroke("Dha", 2, 3, GetSwarManager()->GetNote(60)), shared);
    EXPECT_EQ(strokes->GetTunedStroke("Dha", 2, 3, GetSwarManager()->GetNote(61)), nullptr);
    EXPECT_EQ(strokes->GetTunedStroke("Na", 2, 3, GetSwarManager()->GetNote(60)), nullptr);
    EXPECT_EQ(strokes->AddTunedStroke("Na", 2, 3, GetSwarManager()->GetNote(60)), nullptr);
    EXPECT_EQ(strokes->AddTunedStroke("", 0, 0, nullptr), strokes->GetPlaceholder());
    TWStroke* added = strokes->AddTunedStroke("Dha", 9, 9, GetSwarManager()->GetNote(1));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(strokes->GetTunedStroke("Dha", 9, 9, GetSwarManager()->GetNote(1)), added);

    // The table outlives the file's objects.
    mArena.DestroyAll();
    EXPECT_EQ(strokes->GetTunedStroke("Dha", 2, 3, GetSwarManager()->GetNote(60)), shared);
    EXPECT_EQ(shared->GetName(), "Dha");
}

TEST_F(StrokesTest, ATunedStrokeWithANoteOutsideTheTableIsBadData)
{
    const std::string text = WriteText([](RWvostream& s) {
        s << ':' << static_cast<unsigned short>(161) << '{' << static_cast<RWCollectable*>(nullptr)
          << static_cast<RWCollectable*>(nullptr) << static_cast<RWCollectable*>(nullptr);
        s << ':' << static_cast<unsigned short>(160) << '{' << 140ul << static_cast<short>(1)
          << static_cast<short>(0) << 0 << 0 << '}' << '}';
    });
    Read(text, "QN313");
    EXPECT_FALSE(mGood);
    EXPECT_EQ(GetStrokesManager()->GetStrokeCount(), 0u);
}

TEST_F(StrokesTest, LeftAndRightSoundsGoToTheirTables)
{
    TWSound na;
    RWCollectableString name("Na");
    na.mMembers[0] = &name;
    TWLeftStroke left;
    TWRightStroke right;
    left.mSound = right.mSound = &na;
    RWOrdered list;
    list.insert(&left);
    list.insert(&right);
    ASSERT_NE(Read(rwSaveToString(&list), "QN313"), nullptr);
    TWStrokesManager* strokes = GetStrokesManager();
    EXPECT_EQ(strokes->GetLeftSoundCount(), 1u);
    EXPECT_EQ(strokes->GetRightSoundCount(), 1u);
    EXPECT_EQ(strokes->GetSoundCount(), 1u);
    EXPECT_EQ(strokes->GetStrokeCount(), 2u);
}

TEST(SymbolManager, SharesEqualTextsPerKind)
{
    TWSymbolManager symbols;
    RWCollectableString* teental = symbols.AddSymbol(TWSymbolManager::Cycle, "Teental");
    ASSERT_NE(teental, nullptr);
    EXPECT_EQ(symbols.AddSymbol(TWSymbolManager::Cycle, "Teental"), teental);
    EXPECT_NE(symbols.AddSymbol(TWSymbolManager::Style, "Teental"), teental);
    EXPECT_EQ(symbols.AddSymbol(7, "x"), nullptr);
    EXPECT_EQ(symbols.AddSymbol(-1, "x"), nullptr);
    RWCollectableString read("Teental");
    EXPECT_EQ(symbols.AddSymbolRef(TWSymbolManager::Cycle, &read), teental);
    RWCollectableString fresh("Jhaptal");
    EXPECT_EQ(symbols.AddSymbolRef(TWSymbolManager::Cycle, &fresh), &fresh);
    EXPECT_EQ(symbols.GetSymbolsSet(TWSymbolManager::Cycle).entries(), 2u);
    symbols.AddSymbol(TWSymbolManager::SoundName, "Dha");
    EXPECT_EQ(&symbols.GetSymbolsSet(42), &symbols.GetSymbolsSet(TWSymbolManager::SoundName));
    EXPECT_EQ(symbols.GetAllSymbols(6).size(), 1u);
    symbols.Clear();
    EXPECT_TRUE(symbols.GetSymbolsSet(TWSymbolManager::Cycle).isEmpty());
}
} // namespace
