#include "CompositionTestSupport.h"

#include "model/TWInstrumentTrack.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSettings.h"

void CompositionTest::SetUp()
{
    UserFolderTest::SetUp();
    GetSettings()->LoadSettings();
    GetSettings()->SetTVBeatWidth(60);
    Mgr().ClearComposition(0);
}

void CompositionTest::TearDown()
{
    Mgr().ClearComposition(0);
    UserFolderTest::TearDown();
}

void CompositionTest::MakeSoundtrackSong()
{
    ASSERT_EQ(Song().AddInstrumentTrack("Audio", 0, "Audio", 0, 4, 100, 0), 1);
    ASSERT_EQ(Song().AddInstrumentTrack("Audio", 0, "Audio", 0, 4, 100, 0), 2);
    ASSERT_NE(AddLoop(0, 0, 16, "Soundtrack", "RZ100000.wav"), nullptr);
    ASSERT_NE(AddLoop(1, 0, 4, "Take 1", "RZ100001.wav"), nullptr);
}

TWRhythmicCycle* CompositionTest::AddLoop(int track, int start, int length, const char* name, const char* file)
{
    TWRhythmicCycle* loop = Mgr().AddTrackItem(track, start, length);
    if (loop) {
        loop->SetUnderlyingName(file);
        Mgr().RenameTrackItem(track, loop, 1, name);
    }
    return loop;
}

std::vector<std::pair<int, int>> CompositionTest::Spans(int track)
{
    std::vector<std::pair<int, int>> spans;
    for (const TWTrackItem& item : Song().GetItemsInTrack(track))
        spans.emplace_back(item.start, item.end);
    return spans;
}

void Obj(RWvostream& s, unsigned short id, const std::function<void()>& guts)
{
    s << ':' << id << '{';
    guts();
    s << '}';
}

void Str(RWvostream& s, const char* text)
{
    RWCollectableString(text).saveAsNewObject(s);
}

void Frac(RWvostream& s, int value)
{
    LMFraction(value).saveAsNewObject(s);
}
