#include "CompositionTestSupport.h"

#include "model/TWInstrumentTrack.h"
#include "persist/RWpostream.h"

namespace
{
// A track of the current layout; `refs` writes the instrument, folder and
// sequence references of an instrument track.
void Track(RWvostream& s, unsigned short id, const std::function<void()>& refs = {})
{
    Obj(s, id, [&] {
        Str(s, "T");
        s << 0;
        Frac(s, 4);
        s << 0 << 0 << 0 << '@' << 1 << 100 << 0 << 1;
        for (int i = 0; i < 11; ++i)
            s << 0;
        Obj(s, RWClassIDs::ordered, [&] { s << 0ul; });
        if (id != 315)
            return;
        refs();
        s << short(108) << short(0) << short(0) << short(0);
        Str(s, "");
        for (int i = 0; i < 12; ++i)
            s << 0.0f;
        s << 0;
    });
}

// A composition of the current layout whose track list `tracks` writes.
std::string Composition(const std::function<void(RWvostream&)>& tracks)
{
    return WriteText([&](RWvostream& s) {
        Obj(s, 313, [&] {
            Str(s, "QN313");
            Str(s, "Hostile");
            tracks(s);
            s << 3 << 4 << 0 << 0;
            Track(s, 314);
            Frac(s, 120);
            Frac(s, 4);
            Frac(s, 16);
            s << 0ul;
            Frac(s, 0);
            Frac(s, 0);
            Obj(s, RWClassIDs::ordered, [&] { s << 0ul; });
            s << 0.9f << 0.0f;
            Str(s, "");
            Frac(s, 1);
        });
    });
}

std::string WithTracks(const std::function<void(RWvostream&)>& elements, unsigned long count = 1)
{
    return Composition([&](RWvostream& s) {
        Obj(s, RWClassIDs::ordered, [&] {
            s << count;
            elements(s);
        });
    });
}

class BadInputTest : public CompositionTest
{
protected:
    // Loads `text` as "Main.nvc" into slot 1 (left empty) and slot 0 (a new
    // song); answers whether slot 0 loaded.
    bool Load(const std::string& text)
    {
        WriteFile(SongPath("Main.nvc"), text);
        EXPECT_FALSE(Mgr().LoadComposition(SongPath("Main.nvc"), 1) && text.empty());
        const bool loaded = Mgr().LoadComposition(SongPath("Main.nvc"), 0);
        if (!loaded) {
            EXPECT_EQ(Mgr().GetComposition(1), nullptr);
            EXPECT_NE(Mgr().GetComposition(0), nullptr);
            EXPECT_EQ(Song().GetTrackCount(), 0u);
            EXPECT_EQ(Song().GetTempo(), LMFraction(120));
        }
        // Whatever was read can be used and saved.
        for (std::size_t t = 0; t < Song().GetTrackCount(); ++t)
            Song().GetItemsInTrack(static_cast<int>(t));
        Mgr().AddTrackItem(0, 0, 4);
        Mgr().SaveComposition(SongPath("Out.nvc"));
        return loaded;
    }
};

TEST_F(BadInputTest, HostileFilesLeaveTheSlotEmptyAndSlotZeroANewSong)
{
    const std::string valid = WithTracks([](RWvostream& s) { Track(s, 315, [&] { s << '@' << 0 << '@' << 0 << '@' << 0; }); });
    ASSERT_TRUE(Load(valid));
    ASSERT_EQ(Song().GetTrackCount(), 1u);

    struct Case
    {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        { "no file at all", "" },
        { "a reference out of range", WithTracks([](RWvostream& s) { s << '@' << 77; }) },
        { "an unknown class", WithTracks([](RWvostream& s) { Obj(s, 9999, [] {}); }) },
        { "an effect where a track belongs",
          WithTracks([](RWvostream& s) { Obj(s, 322, [&] { Str(s, "a"); Str(s, "b"); }); }) },
        { "the composition itself in the track list", WithTracks([](RWvostream& s) { s << '@' << 1; }) },
        { "an effect where the main sequence belongs",
          WithTracks([](RWvostream& s) {
              Track(s, 315, [&] {
                  s << '@' << 0 << '@' << 0;
                  Obj(s, 322, [&] { Str(s, "a"); Str(s, "b"); });
              });
          }) },
        { "a string where the instrument belongs",
          WithTracks([](RWvostream& s) { Track(s, 315, [&] { Str(s, "GM"); s << '@' << 0 << '@' << 0; }); }) },
        { "a track as the whole file", WriteText([](RWvostream& s) { Track(s, 314); }) },
        { "a count far beyond the input", WithTracks([](RWvostream&) {}, 4000000000ul) },
        { "objects nested beyond the limit",
          WithTracks([](RWvostream& s) {
              std::function<void(int)> nest = [&](int depth) {
                  Obj(s, RWClassIDs::ordered, [&] {
                      s << 1ul;
                      if (depth < 300)
                          nest(depth + 1);
                  });
              };
              nest(0);
          }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Load(c.text));
    }
}

TEST_F(BadInputTest, TruncatedAndCorruptedSongsNeverCrash)
{
    MakeSoundtrackSong();
    Song().GetTrack(1)->AddTrackEffect("Reverb");
    Song().GetTrack(1)->SetSavedEngineState("M?AAAA");
    Song().AddLoopRange(0, 960, 2);
    ASSERT_TRUE(Mgr().SaveComposition(SongPath("Main.nvc")));
    const std::string full = ReadFile(SongPath("Main.nvc"));
    // About 150 cuts and 150 damaged places spread over the file.
    const std::size_t step = full.size() / 150 + 1;
    for (std::size_t length = 0; length + 1 < full.size(); length += step) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(Load(full.substr(0, length)));
    }
    int loaded = 0;
    for (std::size_t at = 0; at < full.size(); at += step)
        for (char c : { '@', ':', '9', '"', '}' }) {
            std::string damaged = full;
            damaged[at] = c;
            loaded += Load(damaged);
        }
    EXPECT_GT(loaded, 0); // many bytes are not structural
    EXPECT_TRUE(Load(full));
    EXPECT_EQ(Song().GetTrackCount(), 2u);
}
} // namespace
