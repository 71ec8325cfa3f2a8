#include "ModelTestSupport.h"

#include "LibraryFixture.h"
#include "model/TWBar.h"
#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrumentPart.h"
#include "model/TWLibraryContent.h"
#include "model/TWMelodicStroke.h"
#include "model/TWObjectArena.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSound.h"
#include "model/TWSpecificSequence.h"
#include "model/TWStroke.h"
#include "model/TWSwarManager.h"
#include "persist/RWCollectableInt.h"
#include "persist/RWGraphIO.h"
#include "persist/RWReadingVersion.h"
#include "persist/RWpistream.h"
#include "persist/RWxmsg.h"

namespace
{
class LibraryFilesTest : public UserFolderTest
{
protected:
    // Reads one object with `tag` as the file's tag; then, when `trailer`,
    // the string that follows it.
    RWCollectable* Read(const std::string& text, const char* tag, std::string* trailer = nullptr)
    {
        RWReadingVersionScope scope(tag);
        std::istringstream in(text);
        RWpistream s(in);
        RWCollectable* p = TWRestoreObjects(s, mArena);
        if (trailer) {
            RWCollectableString end;
            RWCollectable::recursiveRestoreFrom(s, &end);
            *trailer = end.str();
        }
        mGood = !s.fail();
        return p;
    }
    TWObjectArena mArena;
    bool mGood = false;
};

// ":" id "{" ... "}" written by hand.
void Obj(RWvostream& s, unsigned short id, const std::function<void()>& guts)
{
    s << ':' << id << '{';
    guts();
    s << '}';
}
void Str(RWvostream& s, const char* text)
{
    RWCollectableString(text).recursiveSaveOn(s);
}
void Ref(RWvostream& s, int number)
{
    s << '@' << number;
}
void Trailer(RWvostream& s)
{
    Str(s, "END");
}

TEST_F(LibraryFilesTest, ALibraryRoundTripsByteForByte)
{
    struct Case { const char* tag; bool track; };
    const Case cases[] = { { "QN312", false }, { "QN313", true }, { "QN311", false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        RWCollectableString track("track");
        LibraryFixture fixture(c.track ? &track : nullptr);
        const std::string first = rwSaveToString(&fixture.Instrument());
        auto* read = dynamic_cast<TWInstrument*>(Read(first, c.tag));
        ASSERT_TRUE(mGood);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(rwSaveToString(read), first);
        EXPECT_EQ(read->GetFactory()->GetVersionTag(), c.tag);
    }
}

TEST_F(LibraryFilesTest, AReadLibraryHoldsWhatWasWritten)
{
    LibraryFixture fixture;
    auto* read = dynamic_cast<TWAudioInstrument*>(Read(rwSaveToString(&fixture.Instrument()), "QN312"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetName(), "Tabla");
    EXPECT_FALSE(read->isExclusive());
    TWFactory* f = read->GetFactory();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->GetContainer().GetFolders().entries(), 5u);
    TWFolder* cycles = f->GetFolder("Loops\\Cycles\\");
    ASSERT_NE(cycles, nullptr);
    EXPECT_EQ(cycles->GetFactory(), f);

    // The silent stroke stays the default stroke.
    auto* silence = dynamic_cast<TWMelodicStroke*>(f->GetContainer().GetDefaultStroke());
    ASSERT_NE(silence, nullptr);
    EXPECT_EQ(silence->GetName(), "S");
    EXPECT_EQ(silence->GetAlias(nullptr), "Silence");
    EXPECT_EQ(silence->GetText(0), "-");
    EXPECT_EQ(silence->GetText(1), "D");
    EXPECT_EQ(f->GetItem("S"), silence);
    EXPECT_TRUE(f->GetRootFolder()->GetItems().contains(silence));

    auto* teental = dynamic_cast<TWRhythmicCycle*>(f->GetItem("Loops\\Cycles\\Teental"));
    ASSERT_NE(teental, nullptr);
    EXPECT_TRUE(cycles->GetItems().contains(teental));
    EXPECT_EQ(teental->GetUnderlyingName(), "RZ100001.mid");
    EXPECT_EQ(teental->GetClipArea(), LMFraction(1, 2));
    EXPECT_EQ(teental->GetTempoTo(), 180u);
    EXPECT_EQ(teental->GetBarMarks().entries(), 3u);
    const TWKhali khali(LMFraction(1, 2));
    EXPECT_TRUE(teental->GetBarMarks().contains(&khali));
    ASSERT_EQ(teental->GetStyles().entries(), 2u);
    EXPECT_EQ(teental->GetItemVersion(), "QN3000");
    // Texts are shared through the library's symbols.
    EXPECT_EQ(f->GetSymbolManager().GetSymbolsSet(3).entries(), 2u);
    EXPECT_EQ(f->GetSymbolManager().AddSymbol(1, "Ustad"), teental->GetComposer());

    auto* main = dynamic_cast<TWRhythmicCycle*>(f->GetItem("Main"));
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(main->GetCellCount(), 9u);
    EXPECT_EQ(main->GetTotalDuration(), LMFraction(1));
    EXPECT_EQ(main->GetSequencedItem(2)->GetDuration(), LMFraction(1, 6));
    EXPECT_EQ(main->GetSequencedItem(5)->GetDuration(), LMFraction(1, 24));
    EXPECT_EQ(main->GetSequencedItem(3)->GetOwner(), main);
    int first = 0, last = 0;
    ASSERT_TRUE(main->GetInstanceBoundaries(teental, 1, first, last));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 4);
    // Every item a cell refers to lists the sequence as a client.
    EXPECT_NE(teental->GetClients().index(main), RW_NPOS);
    EXPECT_NE(silence->GetClients().index(main), RW_NPOS);
    EXPECT_NE(silence->GetClients().index(teental), RW_NPOS);

    const TWSpecificSequence* specific = main->GetSequencedItem(0)->GetSpecific();
    ASSERT_NE(specific, nullptr);
    EXPECT_EQ(specific->mValues[3], 6);
    EXPECT_EQ(specific->mText, "glide");
    EXPECT_NE(dynamic_cast<TWLeftStroke*>(specific->mLeft), nullptr);

    RWOrdered& extra = f->GetContainer().GetExtraList();
    ASSERT_EQ(extra.entries(), 11u);
    auto* any = dynamic_cast<TWAnyStroke*>(extra.at(0));
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(any->mNote, GetSwarManager()->GetNote(50));
    EXPECT_EQ(any->mValueTwo, -3);
    EXPECT_EQ(dynamic_cast<TWStrokeSign*>(extra.at(3))->mValue, 100);
    EXPECT_EQ(dynamic_cast<TWStrokeSign*>(extra.at(4))->mValue, 200);
    EXPECT_EQ(dynamic_cast<TWRaagProperties*>(extra.at(5))->mName, "Yaman");
    EXPECT_EQ(dynamic_cast<TWInstrumentPart*>(read->GetParts().at(0))->GetSounds().entries(), 1u);
}

// An instrument as older writers wrote it: `option` says whether the option
// int is there, `newerInts` whether the parts hold their four newer ints.
std::string OldInstrument(bool option, bool newerInts)
{
    return WriteText([&](RWvostream& s) {
        Obj(s, 302, [&] {
            Str(s, "Dholak"); // 2
            Obj(s, RWClassIDs::ordered, [&] { // 3
                s << 1ul;
                Obj(s, 310, [&] { // 4
                    Str(s, "Main"); // 5
                    s << short(1) << short(120) << short(2);
                    Obj(s, RWClassIDs::ordered, [&] { s << 0ul; }); // 6
                    s << 7ul << 8ul << 9ul << 1;
                    Ref(s, 0);
                    if (newerInts)
                        s << 11 << 12 << 14 << 13;
                });
            });
            s << 1;
            if (option)
                s << 5;
            // Container guts.
            s << 1;
            Str(s, "Dholak"); // 7
            Obj(s, RWClassIDs::set, [&] { // 8
                s << 1ul;
                Obj(s, 110, [&] { // 9
                    Str(s, "Root"); // 10
                    Obj(s, RWClassIDs::set, [&] { s << 0ul; }); // 11
                });
            });
            Obj(s, RWClassIDs::set, [&] { s << 1ul; Ref(s, 9); }); // 12
            Obj(s, RWClassIDs::set, [&] { s << 0ul; });            // 13
            Ref(s, 0);
            Obj(s, RWClassIDs::ordered, [&] { s << 0ul; }); // 14
        });
        Trailer(s);
    });
}

TEST_F(LibraryFilesTest, OlderInstrumentsReadTheirOwnLayouts)
{
    struct Case { const char* tag; bool option; bool newerInts; };
    const Case cases[] = { { "QN304", false, false }, { "QN306", false, true }, { "QN308", true, true },
                           { "QN300", false, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        std::string trailer;
        auto* instrument = dynamic_cast<TWInstrument*>(Read(OldInstrument(c.option, c.newerInts), c.tag, &trailer));
        ASSERT_TRUE(mGood);
        ASSERT_NE(instrument, nullptr);
        EXPECT_EQ(trailer, "END");
        EXPECT_EQ(instrument->GetOption(), c.option ? 5 : 1);
        const TWInstrumentPart* part = instrument->GetMainInstrumentPart();
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->GetShort(1), 120);
        EXPECT_EQ(part->GetValue(2), 9u);
        EXPECT_TRUE(part->GetFlag());
        const int expected[2][4] = { { 0, 0, -1, -1 }, { 11, 12, 14, 13 } };
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(part->GetNewerInt(i), expected[c.newerInts][i]);
        const TWFactory* factory = instrument->GetFactory();
        ASSERT_NE(factory, nullptr);
        EXPECT_EQ(factory->GetVersionTag(), c.tag);
        EXPECT_NE(factory->GetFolder(""), nullptr);
        // Written back in the current layout.
        const std::string current = rwSaveToString(instrument);
        auto* again = dynamic_cast<TWInstrument*>(Read(current, "QN313"));
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->GetOption(), instrument->GetOption());
        EXPECT_EQ(again->GetMainInstrumentPart()->GetNewerInt(3), part->GetNewerInt(3));
    }
}

TEST_F(LibraryFilesTest, TheOldestContainerLayoutKeepsTheFoldersAndTheDefaultStroke)
{
    const std::string text = WriteText([](RWvostream& s) {
        Obj(s, 302, [&] {
            Str(s, "Tabla");                                 // 2
            Obj(s, RWClassIDs::ordered, [&] { s << 0ul; }); // 3
            s << 1;
            RWCollectableInt(1).recursiveSaveOn(s); // 4
            s << 2 << 3;
            Str(s, "Tabla"); // 5
            s << 4ul;
            for (int font = 0; font < 4; ++font) // 6..9
                Obj(s, 152, [&] {
                    for (int i = 0; i < 5; ++i)
                        Ref(s, 0);
                    s << 1 << 0 << 1;
                    for (int i = 0; i < 7; ++i)
                        Ref(s, 0);
                });
            Str(s, "Bols"); // 10
            Obj(s, RWClassIDs::set, [&] { // 11
                s << 1ul;
                Obj(s, 110, [&] { // 12
                    Str(s, "Root");                             // 13
                    Obj(s, RWClassIDs::set, [&] { s << 0ul; }); // 14
                });
            });
            Obj(s, RWClassIDs::set, [&] { s << 1ul; Ref(s, 12); }); // 15
            Obj(s, RWClassIDs::set, [&] { // 16
                s << 1ul;
                Obj(s, 158, [&] { // 17
                    Ref(s, 12);
                    s << 0;
                    Str(s, "S");       // 18
                    Str(s, "Silence"); // 19
                    Str(s, "3.0");     // 20
                    Obj(s, 159, [&] { Obj(s, RWClassIDs::set, [&] { s << 0ul; }); }); // 21, 22
                    for (const char* t : { "-", "D", "", "" }) // 23..26
                        Str(s, t);
                });
            });
            Ref(s, 17);
            RWCollectableInt(5).recursiveSaveOn(s);
            RWCollectableInt(6).recursiveSaveOn(s);
            s << 7ul << 8ul;
            Ref(s, 0);
            RWCollectableInt(9).recursiveSaveOn(s);
            RWCollectableInt(10).recursiveSaveOn(s);
            s << 11ul << 12 << 13 << 14;
        });
        Trailer(s);
    });
    std::string trailer;
    auto* instrument = dynamic_cast<TWInstrument*>(Read(text, "3.0", &trailer));
    ASSERT_TRUE(mGood);
    ASSERT_NE(instrument, nullptr);
    EXPECT_EQ(trailer, "END");
    const TWFactory* factory = instrument->GetFactory();
    ASSERT_NE(factory, nullptr);
    EXPECT_TRUE(factory->GetContainer().isRhythmic());
    EXPECT_EQ(factory->GetContainer().GetName(), "Tabla");
    auto* silence = dynamic_cast<TWMelodicStroke*>(factory->GetItem("S"));
    ASSERT_NE(silence, nullptr);
    EXPECT_EQ(factory->GetContainer().GetDefaultStroke(), silence);
    EXPECT_EQ(silence->GetItemVersion(), "QN3000");
    EXPECT_EQ(factory->GetRootFolder(), silence->GetFolder());

    // Saved in the current layout, it reads back the same.
    const std::string current = rwSaveToString(instrument);
    auto* again = dynamic_cast<TWInstrument*>(Read(current, "QN313"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(rwSaveToString(again), current);
}

// A cycle as older writers wrote it, with a single style.
std::string OldCycle(bool tempoRange, bool displayValue)
{
    return WriteText([&](RWvostream& s) {
        Obj(s, 105, [&] {
            Ref(s, 0);
            s << 0;
            Str(s, "Rupak"); // 2
            Str(s, "");      // 3
            Str(s, "QN310"); // 4
            LMFraction(7).recursiveSaveOn(s); // 5
            Obj(s, RWClassIDs::ordered, [&] { // 6
                s << 1ul;
                Obj(s, 111, [&] { // 7
                    Ref(s, 0);
                    s << static_cast<unsigned short>(0);
                    LMFraction(1).recursiveSaveOn(s); // 8
                    Ref(s, 0);
                });
            });
            LMFraction(7).recursiveSaveOn(s); // 9
            LMFraction(7).recursiveSaveOn(s); // 10
            LMFraction(1).recursiveSaveOn(s); // 11
            Str(s, "Ustad");  // 12 composer
            Str(s, "Rupak");  // 13 cycle
            Ref(s, 0);        // gharana
            Ref(s, 0);        // reporter
            Str(s, "Punjab"); // 14 single style
            LMFraction(90).recursiveSaveOn(s);                 // 15
            Obj(s, RWClassIDs::set, [&] { s << 0ul; });       // 16
            if (tempoRange) {
                s << 40ul << 120ul;
                Obj(s, RWClassIDs::ordered, [&] { s << 0ul; }); // 17
            }
            if (displayValue)
                s << 3;
            Obj(s, RWClassIDs::set, [&] { s << 1ul; Obj(s, 117, [&] { LMFraction(0).recursiveSaveOn(s); }); });
            LMFraction(1).recursiveSaveOn(s);
        });
        Trailer(s);
    });
}

TEST_F(LibraryFilesTest, OlderSequencesTakeTheSingleStyleAndHaveNoUnderlyingFile)
{
    struct Case { const char* tag; bool tempoRange; bool displayValue; };
    const Case cases[] = { { "QN310", true, true }, { "QN308", true, false }, { "QN1", false, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        TWGMInstrument instrument("Tabla");
        TWFactory* factory = instrument.AddFactory();
        std::string trailer;
        TWRhythmicCycle* cycle = nullptr;
        {
            TWFactory::ReadingScope scope(factory);
            cycle = dynamic_cast<TWRhythmicCycle*>(Read(OldCycle(c.tempoRange, c.displayValue), c.tag, &trailer));
        }
        ASSERT_TRUE(mGood);
        ASSERT_NE(cycle, nullptr);
        EXPECT_EQ(trailer, "END");
        ASSERT_EQ(cycle->GetStyles().entries(), 1u);
        EXPECT_EQ(*static_cast<RWCollectableString*>(cycle->GetStyles().at(0)), "Punjab");
        EXPECT_EQ(cycle->GetUnderlyingName(), "");
        EXPECT_EQ(cycle->GetUnderlyingPath(), "");
        EXPECT_EQ(cycle->GetClipArea(), LMFraction(-1));
        EXPECT_EQ(cycle->GetTempo(), LMFraction(90));
        EXPECT_EQ(cycle->GetTempoTo(), c.tempoRange ? 120u : 0u);
        EXPECT_EQ(cycle->GetDisplayValue(), c.displayValue ? 3 : 1);
        EXPECT_EQ(cycle->GetBarMarks().entries(), 1u);
        EXPECT_EQ(*cycle->GetComposer(), "Ustad");
        EXPECT_EQ(factory->GetSymbolManager().GetSymbolsSet(3).entries(), 1u);
        EXPECT_EQ(factory->GetSymbolManager().GetSymbolsSet(4).entries(), 1u);
        EXPECT_EQ(cycle->GetSequencedItem(0)->GetOwner(), cycle);
    }
}

TEST_F(LibraryFilesTest, OldestSpecificSequencesKeepTheirValues)
{
    const std::string text = WriteText([](RWvostream& s) {
        Obj(s, 157, [&] {
            Str(s, "meend");
            Ref(s, 0);
            Ref(s, 0);
            s << 5 << 700ul << 6 << 800ul;
            Ref(s, 0);
        });
        Trailer(s);
    });
    std::string trailer;
    auto* specific = dynamic_cast<TWSpecificSequence*>(Read(text, "QN1", &trailer));
    ASSERT_NE(specific, nullptr);
    EXPECT_EQ(trailer, "END");
    EXPECT_EQ(specific->mFirst, 700);
    EXPECT_EQ(specific->mSecond, 800);
    // Written in the current layout, read back unchanged.
    auto* again = dynamic_cast<TWSpecificSequence*>(Read(rwSaveToString(specific), "QN313"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->mFirst, 700);
    EXPECT_EQ(again->mSecond, 800);
    EXPECT_EQ(again->mText, "");
}

TEST(AnyStroke, OlderValuesMoveToTheCurrentScale)
{
    const std::pair<int, int> cases[] = { { 0, 0 },     { 1, 1 },     { 4, 1 },      { 5, 2 },     { -5, -2 },
                                          { 120, 30 },  { 121, 30 },  { -1000, -30 }, { INT32_MIN, -30 } };
    for (const auto& c : cases)
        EXPECT_EQ(TWAnyStroke::ConvertOldValue(c.first), c.second) << c.first;
}

TEST_F(LibraryFilesTest, AnOlderAnyStrokeIsConverted)
{
    struct Case { bool partAllows; int valueOne; int expectedOne; };
    const Case cases[] = { { true, 50, 30 }, { true, -7, -7 }, { false, 12, 0 } };
    for (const auto& c : cases) {
        // Written as before "QN306": the part has no newer ints.
        const std::string text = WriteText([&](RWvostream& s) {
            Obj(s, 312, [&] {
                Obj(s, 311, [&] {
                    Str(s, "Bayan");
                    Ref(s, 0);
                    Ref(s, 0);
                    Obj(s, 310, [&] {
                        Str(s, "Main");
                        s << short(0) << short(127) << short(0);
                        Obj(s, RWClassIDs::ordered, [&] { s << 0ul; });
                        s << 0ul << 0ul << 0ul << (c.partAllows ? 1 : 0);
                        Ref(s, 0);
                    });
                    s << short(1);
                });
                s << c.valueOne;
                Str(s, "Ge");
                Ref(s, 0);
                s << 9;
            });
            Trailer(s);
        });
        std::string trailer;
        auto* read = dynamic_cast<TWAnyStroke*>(Read(text, "QN304", &trailer));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(trailer, "END");
        EXPECT_EQ(read->mValueTwo, 3);
        EXPECT_EQ(read->mValueOne, c.expectedOne);
    }
}

TEST_F(LibraryFilesTest, DamagedLibrariesGiveDocumentedErrorsOrNothing)
{
    LibraryFixture fixture;
    const std::string full = rwSaveToString(&fixture.Instrument());
    int errors = 0;
    for (std::size_t length = 0; length < full.size(); length += 7) {
        try {
            Read(full.substr(0, length), "QN313");
        } catch (const RWxmsg&) {
            ++errors;
        }
    }
    const char replacements[] = { '@', ':', '0', '9', '\n', '"' };
    for (std::size_t at = 0; at < full.size(); at += 13)
        for (char c : replacements) {
            std::string damaged = full;
            damaged[at] = c;
            for (const char* tag : { "QN313", "QN304", "3.0" }) {
                try {
                    Read(damaged, tag);
                } catch (const RWxmsg&) {
                    ++errors;
                }
            }
        }
    EXPECT_GT(errors, 0);
    mArena.DestroyAll();
}
} // namespace
