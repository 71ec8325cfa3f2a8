#include "CompositionTestSupport.h"

#include "model/TWEffect.h"
#include "model/TWFactory.h"
#include "model/TWInstrument.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWLoopRange.h"
#include "model/TWRhythmicCycle.h"
#include "persist/RWpostream.h"

#include <filesystem>

namespace
{
struct Loop
{
    std::string name;
    int start;
    int end;
    bool operator==(const Loop& o) const { return name == o.name && start == o.start && end == o.end; }
};

std::vector<Loop> Loops(const TWComposition& song)
{
    std::vector<Loop> loops;
    for (std::size_t t = 0; t < song.GetTrackCount(); ++t)
        for (const TWTrackItem& item : song.GetItemsInTrack(static_cast<int>(t)))
            loops.push_back({ item.item->GetName().str(), item.start, item.end });
    return loops;
}

TEST_F(CompositionTest, ANewSoundtrackSongSavesAndReadsBackByteForByte)
{
    MakeSoundtrackSong();
    const std::vector<Loop> before = Loops(Song());
    ASSERT_EQ(before, (std::vector<Loop>{ { "Soundtrack", 0, 16 }, { "Take 1", 0, 4 } }));
    ASSERT_TRUE(Mgr().SaveComposition(SongPath("Main.nvc")));
    EXPECT_FALSE(Song().isDirty());

    ASSERT_TRUE(Mgr().LoadComposition(SongPath("Main.nvc")));
    EXPECT_EQ(Loops(Song()), before);
    ASSERT_TRUE(Mgr().SaveComposition(SongPath("Again.nvc")));
    const std::string first = ReadFile(SongPath("Main.nvc"));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(ReadFile(SongPath("Again.nvc")), first);

    // What the engine reads back.
    TWComposition& song = Song();
    EXPECT_EQ(song.GetVersionTag(), "QN313");
    EXPECT_EQ(song.GetTempo(), LMFraction(120));
    EXPECT_FLOAT_EQ(song.GetVolume(), 0.9f);
    EXPECT_EQ(song.GetControlTrack().GetComposition(), &song);
    EXPECT_EQ(song.GetControlTrack().GetName(), "Control");
    ASSERT_EQ(song.GetTrackCount(), 2u);
    TWInstrumentTrack* track = song.GetTrack(1);
    EXPECT_EQ(track->GetName(), "Audio");
    EXPECT_EQ(track->GetTrackFactor(), LMFraction(4));
    EXPECT_EQ(track->GetComposition(), &song);
    EXPECT_FLOAT_EQ(track->GetFloat(TWInstrumentTrack::Volume), 1.0f);
    EXPECT_FLOAT_EQ(track->GetFloat(TWInstrumentTrack::Pan), 0.5f);
    ASSERT_NE(track->GetInstrument(), nullptr);
    EXPECT_EQ(track->GetInstrument()->GetTrackOwner(), track);
    TWRhythmicSequence* loop = song.GetItemsInTrack(1)[0].item;
    EXPECT_EQ(loop->GetUnderlyingName(), "RZ100001.wav");
    EXPECT_EQ(loop->GetFactory(), track->GetTrackFactory());
    EXPECT_EQ(loop->GetUnderlyingPath(), GetSettings()->GetDefaultCompositionsTempPath() + "/RZ100001.wav");
    EXPECT_EQ(track->GetMainSequence()->GetCellCount(), 1200u - 3u);
}

TEST_F(CompositionTest, TheSavedEngineStateTravelsAsALastEffectRecord)
{
    MakeSoundtrackSong();
    TWInstrumentTrack* track = Song().GetTrack(1);
    track->AddTrackEffect("VST-Reverb-1234")->SetState("cmV2ZXJi");
    track->SetSavedEngineState("M?c3RhdGU=");
    ASSERT_TRUE(Mgr().SaveComposition(SongPath("Main.nvc")));
    const std::string text = ReadFile(SongPath("Main.nvc"));
    EXPECT_NE(text.find("SoundEngineState"), std::string::npos);
    EXPECT_EQ(track->GetEffects().entries(), 1u);

    ASSERT_TRUE(Mgr().LoadComposition(SongPath("Main.nvc")));
    track = Song().GetTrack(1);
    EXPECT_EQ(track->GetSavedEngineState(), "M?c3RhdGU=");
    ASSERT_EQ(track->GetEffects().entries(), 1u);
    EXPECT_EQ(track->GetEffect(0)->GetName(), "VST-Reverb-1234");
    EXPECT_EQ(track->GetEffect(0)->GetState(), "cmV2ZXJi");
    EXPECT_EQ(Song().GetTrack(0)->GetSavedEngineState(), "");
    ASSERT_TRUE(Mgr().SaveComposition(SongPath("Again.nvc")));
    EXPECT_EQ(ReadFile(SongPath("Again.nvc")), text);
}

TEST_F(CompositionTest, SavingNamesTheFileAndRefusesWhatCannotBeSaved)
{
    MakeSoundtrackSong();
    EXPECT_TRUE(Mgr().SaveComposition(SongPath("song")));
    EXPECT_EQ(Song().GetFilePath(), SongPath("song.nvc"));
    EXPECT_TRUE(std::filesystem::exists(SongPath("song.nvc")));
    EXPECT_TRUE(Mgr().SaveComposition(SongPath("SONG.NVC")));
    EXPECT_EQ(Song().GetFilePath(), SongPath("SONG.NVC"));
    EXPECT_TRUE(Mgr().SaveComposition("")); // its own path again

    EXPECT_FALSE(Mgr().SaveComposition(SongPath("x"), 1)); // no such slot
    Mgr().ClearComposition(0);
    EXPECT_FALSE(Mgr().SaveComposition("")); // no path
    Song().SetPractice(true);
    EXPECT_FALSE(Mgr().SaveComposition(SongPath("practice"))); // tracks 0 to 2 missing
    // A path that cannot be written is a failure, not a success, and the
    // song stays modified.
    Song().SetPractice(false);
    Song().SetDirty(true);
    std::filesystem::create_directories(SongPath("dir.nvc"));
    EXPECT_FALSE(Mgr().SaveComposition(SongPath("dir.nvc")));
    EXPECT_TRUE(Song().isDirty());
}

// Hand-written composition files in the older layouts.
// A track as files of `version` hold it ("QN310", "QN311", ...).
void OldTrack(RWvostream& s, const std::string& version, unsigned short id, const char* name)
{
    Obj(s, id, [&] {
        Str(s, name);
        s << 1; // mute
        Frac(s, 4);
        s << 0 << 2 << 5; // second flag, semitones, sa
        s << '@' << 1;    // the composition
        s << 80 << 7;     // volume, pan
        s << 0;           // alternate channel not allowed
        if (version >= "QN311")
            for (int i = 0; i < 11; ++i)
                s << 100 + i;
        if (id == 315) {
            s << '@' << 0 << '@' << 0 << '@' << 0; // no instrument, folder, sequence
            s << short(108) << short(0) << short(30) << short(3);
            Str(s, "Tabla");
        }
    });
}

std::string OldComposition(const std::string& version)
{
    return WriteText([&](RWvostream& s) {
        Obj(s, 313, [&] {
            Str(s, version.c_str());
            Str(s, "Old song");
            Obj(s, RWClassIDs::ordered, [&] {
                s << 1ul;
                OldTrack(s, version, 315, "Tabla");
            });
            s << 2 << 5000 << 10 << 1; // mode, length, increase-by, cycles per increase
            OldTrack(s, version, 314, "Control");
            Frac(s, 90);
            Frac(s, 7);
            Frac(s, 3);
            s << 3ul; // legacy loop count
            Frac(s, 8);
            Frac(s, 16);
            if (version >= "QN311")
                Obj(s, RWClassIDs::ordered, [&] {
                    s << 1ul;
                    Obj(s, 321, [&] {
                        s << 0;
                        Str(s, "Verse");
                        s << '@' << 1;
                        s << 0ul << 0;
                        s << 960ul + 480;
                        s << static_cast<unsigned char>(0);
                        s << 2ul << 960ul + 4800;
                    });
                });
        });
    });
}

TEST_F(CompositionTest, OlderLayoutsLoadWithTheirOwnFields)
{
    struct Case
    {
        const char* version;
        unsigned long rangeStart, rangeEnd, repeats;
        int pan, humanizeFirst;
        bool alternateAllowed;
    };
    const Case cases[] = {
        { "QN310", 8 * 480, 16 * 480, 3, 7, 1, false },
        { "QN311", 480, 4800, 2, 7, 100, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        WriteFile(SongPath("Main.nvc"), OldComposition(c.version));
        ASSERT_TRUE(Mgr().LoadComposition(SongPath("Main.nvc")));
        TWComposition& song = Song();
        EXPECT_EQ(song.GetVersionTag(), "QN313");
        EXPECT_EQ(song.GetName(), "Old song");
        EXPECT_EQ(song.GetModeValue(), 2);
        EXPECT_EQ(song.GetLengthValue(), 5000);
        EXPECT_EQ(song.GetIncreaseBy(), 10);
        EXPECT_EQ(song.GetTempo(), LMFraction(90));
        EXPECT_EQ(song.GetBarSize(), LMFraction(7));
        // Loop range 0: from the legacy loop (QN310) or the file's list.
        ASSERT_EQ(song.GetLoopRangeCount(), 1u);
        EXPECT_EQ(song.GetLoopRange(0)->GetStart(), c.rangeStart);
        EXPECT_EQ(song.GetLoopRange(0)->GetEnd(), c.rangeEnd);
        EXPECT_EQ(song.GetLoopRange(0)->GetRepeatCount(), c.repeats);
        EXPECT_EQ(song.GetLegacyLoopCount(), 0u);
        EXPECT_EQ(song.GetLegacyLoopStart(), LMFraction(0));
        // Nothing newer than the file: the defaults stand.
        EXPECT_FLOAT_EQ(song.GetVolume(), 0.9f);
        EXPECT_FLOAT_EQ(song.GetPitch(), 0.0f);
        EXPECT_EQ(song.GetStyle(), "");
        EXPECT_EQ(song.GetBeatsFactor(), LMFraction(1));
        ASSERT_EQ(song.GetTrackCount(), 1u);
        const TWInstrumentTrack* track = song.GetTrack(0);
        EXPECT_EQ(track->GetName(), "Tabla");
        EXPECT_TRUE(track->GetMute());
        EXPECT_EQ(track->GetSa(), 5);
        EXPECT_EQ(track->GetVolume(), 80);
        EXPECT_EQ(track->GetPan(), c.pan);
        EXPECT_EQ(track->GetAlternateChannelAllowed(), c.alternateAllowed);
        EXPECT_EQ(track->GetHumanize(0), c.humanizeFirst);
        EXPECT_EQ(track->GetChannel(), 3);
        EXPECT_EQ(track->GetPatchKey(2), 30);
        EXPECT_TRUE(track->isRhythmicPatch()); // the table's Tabla is a drum kit
        EXPECT_FLOAT_EQ(track->GetFloat(TWInstrumentTrack::Volume), 1.0f);
        EXPECT_EQ(track->GetComposition(), &song);
        EXPECT_EQ(track->GetEffects().entries(), 0u);
        // Written back in the current layout, it reads the same.
        ASSERT_TRUE(Mgr().SaveComposition(SongPath("Current.nvc")));
        ASSERT_TRUE(Mgr().LoadComposition(SongPath("Current.nvc")));
        EXPECT_EQ(Song().GetLoopRange(0)->GetStart(), c.rangeStart);
        EXPECT_EQ(Song().GetTrack(0)->GetHumanize(0), c.humanizeFirst);
    }
}

TEST_F(CompositionTest, ANewerFileReadsNothingMoreAndTheSongStartsEmpty)
{
    std::string text = OldComposition("QN311");
    const std::string tag = "QN311";
    text.replace(text.find(tag), tag.size(), "QN314");
    WriteFile(SongPath("Main.nvc"), text);
    ASSERT_TRUE(Mgr().LoadComposition(SongPath("Main.nvc")));
    EXPECT_EQ(Song().GetTrackCount(), 0u);
    EXPECT_EQ(Song().GetName(), "");
    EXPECT_EQ(Song().GetLoopRangeCount(), 0u);
    // The tag stays, so that the engine can tell the song was not read.
    EXPECT_EQ(Song().GetVersionTag(), "QN314");
}

TEST_F(CompositionTest, LoopRangesKeepTheirTicksAndRepeat)
{
    Song().AddLoopRange(4800, 9600, 1);
    TWLoopRange* range = Song().AddLoopRange(0, 1920, 2);
    ASSERT_TRUE(Mgr().SaveComposition(SongPath("Main.nvc")));
    // Stored two beats later: 0 is written as 960.
    EXPECT_NE(ReadFile(SongPath("Main.nvc")).find("\n960\n"), std::string::npos);
    Song().SortLoopRanges();
    EXPECT_EQ(Song().GetLoopRange(0), range);

    Song().SetIncreaseBy(10);
    Song().SetCyclesPerIncrease(0); // raise every 4 repeats: not within 2
    EXPECT_EQ(range->InLoop(100), 100u);
    EXPECT_EQ(range->InLoop(1920), 0u);
    EXPECT_EQ(range->InLoop(1920), 0u);
    EXPECT_EQ(range->InLoop(1920), 1920u); // repeats used up: play goes on
    EXPECT_EQ(Song().GetTempo(), LMFraction(120));

    ASSERT_TRUE(Mgr().LoadComposition(SongPath("Main.nvc")));
    ASSERT_EQ(Song().GetLoopRangeCount(), 2u);
    EXPECT_EQ(Song().GetLoopRange(1)->GetStart(), 0u);
    EXPECT_EQ(Song().GetLoopRange(1)->GetInitialEnd(), 1920u);
    Song().SortLoopRanges();
    EXPECT_EQ(Song().GetLoopRange(0)->GetEnd(), 1920u);
}

TEST_F(CompositionTest, TheTempoRisesEveryFourTimesCyclesPlusOneRepeats)
{
    TWLoopRange* range = Song().AddLoopRange(0, 480, 8);
    Song().SetIncreaseBy(10);
    Song().SetCyclesPerIncrease(0);
    for (int i = 0; i < 8; ++i)
        range->InLoop(480);
    EXPECT_EQ(Song().GetTempo(), LMFraction(145)); // 120 * 1.1 = 132, * 1.1 = 145.2
}
} // namespace
