#include "CompositionTestSupport.h"

#include "model/TWComponentsMgr.h"
#include "model/TWEffect.h"
#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWRuntimeTrackSink.h"
#include "model/TWTrackArrangement.h"

#include <functional>

namespace
{
using Spans = std::vector<std::pair<int, int>>;

class ArrangementTest : public CompositionTest
{
public:
    using CompositionTest::Mgr;
    using CompositionTest::Song;

protected:
    void SetUp() override
    {
        CompositionTest::SetUp();
        ASSERT_EQ(Song().AddInstrumentTrack("GM", 0, "Tabla", 0, 4, 100, 0), 1);
        a = AddLoop(0, 0, 16, "A");
        b = AddLoop(0, 18, 16, "B");
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(Spans(0), (::Spans{ { 0, 16 }, { 18, 34 } }));
    }
public:
    TWInstrumentTrack& Track() { return *Song().GetTrack(0); }
    int LengthInUnits()
    {
        const LMFraction units = TWTrackArrangement(Track().GetMainSequence(), 4).GetLengthInUnits();
        return units.numerator() / static_cast<int>(units.denominator());
    }
    // View units (60 per beat) for a position in quarter beats.
    static int View(int quarterBeats) { return quarterBeats * 60 / 4; }

    TWRhythmicCycle* a = nullptr;
    TWRhythmicCycle* b = nullptr;
};

TEST_F(ArrangementTest, PlacingMovingStretchingRemovingAndRenaming)
{
    struct Case
    {
        const char* what;
        std::function<bool(ArrangementTest&)> edit;
        bool result;
        ::Spans spans;
        int length; // of the main sequence, in quarter beats
    };
    const Case cases[] = {
        { "placing into the first silent gap that fits",
          [](ArrangementTest& t) { return t.Mgr().AddTrackItem(0, 0, 2) != nullptr; }, true,
          { { 0, 16 }, { 16, 18 }, { 18, 34 } }, 1200 },
        { "placing past a gap too small",
          [](ArrangementTest& t) { return t.Mgr().AddTrackItem(0, 0, 4) != nullptr; }, true,
          { { 0, 16 }, { 18, 34 }, { 34, 38 } }, 1200 },
        { "placing at the end when no gap fits lengthens the sequence",
          [](ArrangementTest& t) {
              return t.Mgr().AddTrackItem(0, 1190, 10) && t.Mgr().AddTrackItem(0, 1180, 12);
          },
          true, { { 0, 16 }, { 18, 34 }, { 1190, 1200 }, { 1200, 1212 } }, 1212 },
        { "placing past the end puts the loop where it was asked for",
          [](ArrangementTest& t) { return t.Mgr().AddTrackItem(0, 1300, 8) != nullptr; }, true,
          { { 0, 16 }, { 18, 34 }, { 1300, 1308 } }, 1308 },
        { "moving into a silent span past the end",
          [](ArrangementTest& t) { return t.Mgr().MoveTrackItem(0, t.b, 1, View(1300)); }, true,
          { { 0, 16 }, { 1300, 1316 } }, 1316 },
        { "moving onto another loop is refused",
          [](ArrangementTest& t) { return t.Mgr().MoveTrackItem(0, t.b, 1, View(8)); }, false,
          { { 0, 16 }, { 18, 34 } }, 1200 },
        { "moving over its own time",
          [](ArrangementTest& t) { return t.Mgr().MoveTrackItem(0, t.b, 1, View(24)); }, true,
          { { 0, 16 }, { 24, 40 } }, 1200 },
        { "a move is truncated to a quarter beat",
          [](ArrangementTest& t) { return t.Mgr().MoveTrackItem(0, t.b, 1, View(40) + 14); }, true,
          { { 0, 16 }, { 40, 56 } }, 1200 },
        { "stretching up to a neighbour two quarter beats away",
          [](ArrangementTest& t) { return t.Mgr().SetTrackItemDuration(0, t.a, 1, View(24)); }, true,
          { { 0, 18 }, { 18, 34 } }, 1200 },
        { "shortening",
          [](ArrangementTest& t) { return t.Mgr().SetTrackItemDuration(0, t.b, 1, View(5)); }, true,
          { { 0, 16 }, { 18, 23 } }, 1200 },
        { "stretching past the end lengthens the sequence first",
          [](ArrangementTest& t) {
              return t.Mgr().MoveTrackItem(0, t.b, 1, View(1190)) && t.Mgr().SetTrackItemDuration(0, t.b, 1, View(30));
          },
          true, { { 0, 16 }, { 1190, 1220 } }, 1220 },
        { "removing", [](ArrangementTest& t) { return t.Mgr().RemoveTrackItem(0, t.a, 1); }, true, { { 18, 34 } },
          1200 },
        { "a missing instance", [](ArrangementTest& t) { return t.Mgr().RemoveTrackItem(0, t.a, 2); }, false,
          { { 0, 16 }, { 18, 34 } }, 1200 },
        { "replacing what a loop range covers",
          [](ArrangementTest& t) {
              t.Song().AddLoopRange(480, 480 * 5, 1); // beats 1 to 5
              return t.Mgr().ReplaceTrackItem(0, 0, t.b, "Verse", 0) && t.b->GetName() == "Verse";
          },
          true, { { 4, 20 } }, 1200 },
        { "renaming onto a name taken in the item's folder is refused",
          [](ArrangementTest& t) {
              TWRhythmicItem* copy = t.Track().GetTrackFactory()->DuplicateItem(t.a);
              return copy && copy->GetName() == "Copy of A" && t.Mgr().RenameTrackItem(0, copy, 1, "A");
          },
          false, { { 0, 16 }, { 18, 34 } }, 1200 },
        { "renaming to a name used in another folder",
          [](ArrangementTest& t) { return t.Mgr().RenameTrackItem(0, t.b, 1, "A"); }, true, { { 0, 16 }, { 18, 34 } },
          1200 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        EXPECT_EQ(c.edit(*this), c.result);
        EXPECT_EQ(Spans(0), c.spans);
        EXPECT_EQ(LengthInUnits(), c.length);
        // The cell rules: every loop one cell of index 0, silence in quarter
        // beats, the cells covering the whole sequence.
        const TWRhythmicSequence* main = Track().GetMainSequence();
        EXPECT_EQ(main->GetTotalDuration(), LMFraction(1));
        const LMFraction quarter = LMFraction(1) / (main->GetCellCountFraction() * LMFraction(4));
        std::size_t loops = 0;
        for (std::size_t i = 0; i < main->GetCellCount(); ++i) {
            const TWSequencedItem* cell = main->GetSequencedItem(static_cast<int>(i));
            EXPECT_EQ(cell->GetCellIndex(), 0);
            if (cell->GetItem()->isSequence())
                ++loops;
            else
                EXPECT_EQ(cell->GetDuration(), quarter) << i;
        }
        EXPECT_EQ(loops, c.spans.size());
        EXPECT_TRUE(Song().isDirty());
    }
}

TEST_F(ArrangementTest, LengtheningKeepsEveryBoundaryInTime)
{
    const TWRhythmicSequence* main = Track().GetMainSequence();
    ASSERT_EQ(main->GetCellCountFraction(), LMFraction(300));
    ASSERT_TRUE(Mgr().MoveTrackItem(0, b, 1, View(1250)));
    // 1266 quarter beats, rounded up to 317 whole beats.
    EXPECT_EQ(main->GetCellCountFraction(), LMFraction(317));
    EXPECT_EQ(main->GetNumberOfBeats(), LMFraction(317));
    EXPECT_EQ(LengthInUnits(), 1268);
    // tick(x) = 480 * n * x: loop A still starts at 0 and ends at 4 beats.
    const LMFraction aEnd = main->GetSequencedItem(0)->GetDuration() * main->GetCellCountFraction() * LMFraction(480);
    EXPECT_EQ(aEnd, LMFraction(4 * 480));
    EXPECT_EQ(Spans(0), (::Spans{ { 0, 16 }, { 1250, 1266 } }));
    EXPECT_EQ(Track().GetMinimumNrOfBeats(), 317); // 1266 / 4 rounded up
    EXPECT_EQ(Song().GetMinimumNrOfBeats(), 317);
}

TEST_F(ArrangementTest, LoopsGetComponentFoldersAndUniqueNames)
{
    TWFactory* factory = Track().GetTrackFactory();
    ASSERT_NE(factory, nullptr);
    EXPECT_TRUE(factory->isTrackFactory());
    EXPECT_EQ(a->GetFolder()->GetFolderPath(), "Comp#1\\");
    EXPECT_EQ(b->GetFolder()->GetFolderPath(), "Comp#2\\");
    TWRhythmicCycle* c = Mgr().AddTrackItem(0, 100, 4);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetItemPath(), "Comp#3\\New Component");
    EXPECT_EQ(c->GetCellCount(), 1u);
    EXPECT_EQ(c->GetNumberOfBeats(), LMFraction(1));
    EXPECT_EQ(c->GetItemVersion(), "QN3000");
    EXPECT_EQ(c->GetGharana(), nullptr);
    EXPECT_EQ(factory->GetItem("Comp#1\\A"), a); // found under its new name
    EXPECT_EQ(factory->GetItem("Comp#1\\New Component"), nullptr);

    // A folder whose name takes the next number is skipped.
    factory->CreateSubFolder("Comp#4", factory->GetRootFolder());
    EXPECT_EQ(factory->AddNewComponentFolder()->GetFolderPath(), "Comp#5\\");
    // Unique names: the name, "Copy of", then "Copy(n) of"; a sub-folder of
    // that name also takes it.
    TWFolder* folder = a->GetFolder();
    ASSERT_TRUE(Mgr().RenameTrackItem(0, a, 1, "Teental"));
    EXPECT_EQ(factory->ProvideUniqueName("Teental", folder), "Copy of Teental");
    EXPECT_EQ(factory->DuplicateItem(a)->GetName(), "Copy of Teental");
    EXPECT_EQ(factory->ProvideUniqueName("Teental", folder), "Copy(1) of Teental");
    factory->CreateSubFolder("Rupak", folder);
    EXPECT_EQ(factory->ProvideUniqueName("Rupak", folder), "Copy of Rupak");
    EXPECT_EQ(factory->ProvideUniqueName("Jhaptal", folder), "Jhaptal");

    // Within one library an item changes folder; a taken path is refused.
    TWFolder* target = factory->AddNewComponentFolder();
    EXPECT_EQ(factory->MoveItem(b, target, ""), b);
    EXPECT_EQ(b->GetFolder(), target);
    EXPECT_EQ(factory->GetItem(target->GetFolderPath() + "B"), b);
    EXPECT_EQ(factory->MoveItem(a, target, "B"), nullptr);
}

TEST_F(ArrangementTest, ANewTrackLibraryHoldsTheSilentStrokeAndTheMainSequence)
{
    TWFactory* factory = Track().GetTrackFactory();
    const TWRhythmicSequence* main = Track().GetMainSequence();
    EXPECT_EQ(main->GetItemPath(), "MainSequence");
    EXPECT_EQ(main->GetAlias(nullptr), "Track sequence");
    EXPECT_EQ(Track().GetMainFolder(), factory->GetRootFolder());
    EXPECT_EQ(factory->GetRootFolder()->GetRootName(), "Root");
    auto* silence = factory->GetItem("S");
    ASSERT_NE(silence, nullptr);
    EXPECT_EQ(factory->GetContainer().GetDefaultStroke(), silence);
    EXPECT_NE(silence, GetComponentsMgr()->GetInstrument("GM")->GetFactory()->GetItem("S"));
    EXPECT_EQ(main->GetSequencedItem(20)->GetItem(), silence);
    EXPECT_EQ(Track().GetInstrument()->GetFactories().entries(), 1u);
    // The library instrument is left as it was.
    EXPECT_EQ(GetComponentsMgr()->GetInstrument("GM")->GetFactory()->GetContainer().GetItems().entries(), 1u);
}

TEST_F(ArrangementTest, TracksMoveAndChannelsAreShared)
{
    ASSERT_EQ(Song().AddInstrumentTrack("GM", 9, "Dholak", 0, 4, 100, 0), 2);
    ASSERT_EQ(Song().AddInstrumentTrack("GM", 9, "Sitar", 0, 4, 100, 0), 3);
    TWInstrumentTrack* first = Song().GetTrack(0);
    TWInstrumentTrack* second = Song().GetTrack(1);
    TWInstrumentTrack* third = Song().GetTrack(2);
    // Two tracks on channel 9: the lowest free channel, then the next.
    Song().AvoidChannel10();
    EXPECT_EQ(second->GetChannel(), 1);
    EXPECT_EQ(third->GetChannel(), 2);
    GetSettings()->SetAlternateChannels(true);
    Song().AssignAlternateChannels();
    EXPECT_EQ(first->GetAlternateChannel(), 3);
    EXPECT_EQ(second->GetAlternateChannel(), 4);
    EXPECT_EQ(third->GetAlternateChannel(), 5);
    GetSettings()->SetAlternateChannels(false);
    Song().AssignAlternateChannels();
    EXPECT_EQ(third->GetAlternateChannel(), 2);

    EXPECT_TRUE(Song().MoveTrack(0, 2));
    EXPECT_EQ(Song().GetTrack(0), second);
    EXPECT_EQ(Song().GetTrack(1), first);
    EXPECT_EQ(Song().GetTrack(2), third);
    EXPECT_FALSE(Song().MoveTrack(0, 3));
    EXPECT_TRUE(Song().RemoveTrack(1));
    EXPECT_EQ(Song().GetTrack(1), third);
    EXPECT_FALSE(Song().RemoveTrack(5));
    EXPECT_EQ(Song().AddInstrumentTrack("Sitar", 0, "", 0, 4, 100, 0), -1); // no such library instrument

    // Patches: a known name, else the table's entry 1 without a name.
    third->SetMIDIPatch("Dholak");
    EXPECT_EQ(third->GetPatchName(), "Dholak");
    EXPECT_TRUE(third->isRhythmicPatch());
    third->SetMIDIPatch("No such instrument");
    EXPECT_EQ(third->GetPatchName(), "");
    EXPECT_EQ(third->GetMIDIPatch(), GetPlaybackMgr()->GetPatch(1));
}

// What the engine's run-time track receives.
class RecordingSink : public TWRuntimeTrackSink
{
public:
    void AddMIDIEvent(long long tick, int status, int data1, int data2) override
    {
        events.push_back({ tick, status, data1, data2 });
    }
    void AddMIDIMessage(long long tick, const std::uint8_t* data, std::size_t size) override
    {
        events.push_back({ tick, size > 0 ? data[0] : -1, static_cast<int>(size), 0 });
    }
    bool AddAudioLoop(std::uint64_t start, std::uint64_t end, const std::string& path) override
    {
        clips.push_back(path + " " + std::to_string(start) + "-" + std::to_string(end));
        return audio;
    }
    std::vector<std::vector<long long>> events;
    std::vector<std::string> clips;
    bool audio = true;
};

TEST_F(ArrangementTest, EventsGoToTheRuntimeTrackWhenThereIsOne)
{
    TWInstrumentTrack& track = Track();
    const std::uint8_t controller[] = { 0xB0, 7, 100 };
    EXPECT_FALSE(track.AddMIDIEvent(0, 0x90, 60, 100));
    EXPECT_FALSE(track.AddMIDIMessage(0, controller, 3));
    EXPECT_FALSE(track.AddAudioLoop(0, 10, "a.wav"));
    RecordingSink sink;
    track.SetRuntimeTrack(&sink);
    EXPECT_TRUE(track.AddMIDIEvent(480, 0x90, 60, 100));
    EXPECT_TRUE(track.AddMIDIMessage(960, controller, 3));
    EXPECT_TRUE(track.AddAudioLoop(0, 44100, "a.wav"));
    sink.audio = false;
    EXPECT_FALSE(track.AddAudioLoop(0, 10, "b.wav"));
    EXPECT_EQ(sink.events, (std::vector<std::vector<long long>>{ { 480, 0x90, 60, 100 }, { 960, 0xB0, 3, 0 } }));
    EXPECT_EQ(sink.clips, (std::vector<std::string>{ "a.wav 0-44100", "b.wav 0-10" }));
    track.SetRuntimeTrack(nullptr);
}

TEST_F(ArrangementTest, EffectsAndUndoCopies)
{
    TWInstrumentTrack& track = Track();
    track.AddTrackEffect("One");
    track.AddTrackEffect("Two");
    EXPECT_TRUE(track.SwapTrackEffects(0));
    EXPECT_EQ(track.GetEffect(0)->GetName(), "Two");
    EXPECT_FALSE(track.RemoveTrackEffect(2));
    EXPECT_TRUE(track.RemoveTrackEffect(0));
    EXPECT_EQ(track.GetEffect(0)->GetName(), "One");

    Song().SetDirty(false);
    Mgr().PrepareUndo(a, true, false);
    ASSERT_NE(Mgr().GetUndoCopy(), nullptr);
    EXPECT_NE(Mgr().GetUndoCopy(), a);
    EXPECT_TRUE(Song().isDirty());
    EXPECT_TRUE(Mgr().GetUndoFlag(0));
    Mgr().PrepareUndo(nullptr, false, false);
    EXPECT_EQ(Mgr().GetUndoCopy(), nullptr);
}
} // namespace
