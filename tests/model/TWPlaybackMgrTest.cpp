#include "ModelTestSupport.h"

#include "model/TWBuiltinInstruments.h"
#include "model/TWPlaybackMgr.h"
#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"

#include <filesystem>

namespace
{
class PlaybackMgrTest : public UserFolderTest
{
protected:
    std::string PatchesPath() const { return DataPath("Instruments.dat"); }

    static TWMIDIPatch Patch(const char* name, short bank, short slot)
    {
        TWMIDIPatch patch;
        patch.SetName(name);
        patch.mBank = bank;
        patch.mSlot = slot;
        patch.mEngineName = "MyEngine";
        patch.mDrumKit = true;
        patch.mProgram = 5;
        patch.mPluginFolder = "/opt/engines/";
        patch.mPluginExtension = ".so";
        patch.mPhoto = "Tabla";
        return patch;
    }

    // "Instruments.dat" with the tag and the entries, written field by field.
    void WritePatches(const char* tag, const std::vector<TWMIDIPatch>& patches)
    {
        WriteFile(PatchesPath(), WriteText([&](RWvostream& s) {
                      RWCollectableString(tag).recursiveSaveOn(s);
                      RWOrdered list;
                      for (const auto& p : patches)
                          list.insert(const_cast<TWMIDIPatch*>(&p));
                      list.recursiveSaveOn(s);
                  }));
    }

    static std::vector<std::string> Names(const TWPlaybackMgr& mgr)
    {
        std::vector<std::string> names;
        for (RWCollectable* p : mgr.GetMainList())
            names.push_back(static_cast<TWMIDIPatch*>(p)->mName.str());
        return names;
    }
};
} // namespace

TEST_F(PlaybackMgrTest, AFreshStartHasTheBuiltinTable)
{
    TWPlaybackMgr mgr;
    ASSERT_EQ(mgr.GetPatchCount(), 42u);
    EXPECT_EQ(mgr.GetPatch(0)->mName, "Audio");
    std::size_t i = 0;
    for (const auto& b : kBuiltinInstruments) {
        const TWMIDIPatch* p = mgr.GetPatch(i++);
        SCOPED_TRACE(b.name);
        EXPECT_EQ(p->mName, b.name);
        EXPECT_EQ(p->mNameCopy, b.name);
        EXPECT_EQ(p->mSlot, b.slot);
        EXPECT_EQ(p->mDrumKit, b.drumKit);
        EXPECT_EQ(p->mEngineName, b.engineName);
        EXPECT_EQ(p->mPhoto, b.photo);
        EXPECT_EQ(p->mBank, 108);
        EXPECT_EQ(p->mSubBank, 0);
        EXPECT_EQ(p->mProgram, -1);
        EXPECT_EQ(p->mPluginFolder, "");
        EXPECT_EQ(p->mPluginExtension, "");
    }
    EXPECT_TRUE(mgr.GetUserList().isEmpty());
}

TEST_F(PlaybackMgrTest, LooksUpByKeyAndByName)
{
    TWPlaybackMgr mgr;
    EXPECT_EQ(mgr.GetMIDIPatch(108, 0, 39)->mName, "Dulcimer");
    EXPECT_EQ(mgr.GetMIDIPatch(108, 1, 39), nullptr);
    struct Case { const char* name; const char* found; };
    const Case cases[] = {
        { "Guitar", "Guitar" },          // exact beats "Clean Guitar", which comes first
        { "Strings", "Slow Strings" },   // first containing the text, in list order
        { "Synth", "Synth Lead" },
        { "tabla", nullptr },            // case-sensitive
        { "Flute", nullptr },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TWMIDIPatch* p = mgr.GetDefaultPatch(c.name);
        if (c.found) {
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(p->mName, c.found);
        } else {
            EXPECT_EQ(p, nullptr);
        }
    }
}

TEST_F(PlaybackMgrTest, UserEntriesOverrideInPlaceOrAreInsertedByName)
{
    WritePatches("QN313", { Patch("My Tabla", 108, 30), Patch("Banjo", 109, 1), Patch("Zither", 109, 2),
                            Patch("Accordion", 109, 3) });
    TWPlaybackMgr mgr;
    ASSERT_EQ(mgr.GetPatchCount(), 45u);
    ASSERT_EQ(mgr.GetUserList().entries(), 4u);
    // The built-in Tabla entry is replaced where it stood.
    const std::vector<std::string> names = Names(mgr);
    EXPECT_EQ(names[36], "My Tabla");
    const TWMIDIPatch* tabla = mgr.GetMIDIPatch(108, 0, 30);
    EXPECT_EQ(tabla->mName, "My Tabla");
    EXPECT_EQ(tabla->mEngineName, "MyEngine");
    EXPECT_EQ(tabla->mPluginFolder, "/opt/engines/");
    EXPECT_EQ(tabla->mProgram, 5);
    // Others go before the first entry whose name compares greater, in the
    // order of the file: "Banjo" before "Bansuri", "Zither" at the end and
    // "Accordion" before "Audio", the first greater name of the list.
    EXPECT_EQ(names[0], "Accordion");
    EXPECT_EQ(mgr.GetPatch(0)->mBank, 109);
    EXPECT_EQ(names[1], "Audio");
    EXPECT_EQ(names[2], "Accordion");
    EXPECT_EQ(mgr.GetPatch(2)->mBank, 108);
    EXPECT_EQ(names[3], "Banjo");
    EXPECT_EQ(names[4], "Bansuri");
    EXPECT_EQ(names.back(), "Zither");
}

TEST_F(PlaybackMgrTest, SavedUserListReadsBack)
{
    {
        TWPlaybackMgr mgr;
        mgr.AddUserPatch(Patch("Banjo", 109, 1));
        ASSERT_TRUE(mgr.SavePatches());
    }
    const std::string first = ReadFile(PatchesPath());
    TWPlaybackMgr mgr;
    EXPECT_EQ(mgr.GetPatchCount(), 43u);
    const TWMIDIPatch* banjo = mgr.GetDefaultPatch("Banjo");
    ASSERT_NE(banjo, nullptr);
    EXPECT_EQ(banjo->mBank, 109);
    EXPECT_TRUE(banjo->mDrumKit);
    EXPECT_EQ(banjo->mPluginExtension, ".so");
    ASSERT_TRUE(mgr.SavePatches());
    EXPECT_EQ(ReadFile(PatchesPath()), first);
}

TEST_F(PlaybackMgrTest, NewerDamagedOrForeignFilesAddNothingAndAreNotOverwritten)
{
    const std::string good = WriteText([](RWvostream& s) {
        RWCollectableString("QN313").recursiveSaveOn(s);
        RWOrdered list;
        TWMIDIPatch a = Patch("Banjo", 109, 1), b = Patch("Zither", 109, 2);
        list.insert(&a);
        list.insert(&b);
        list.recursiveSaveOn(s);
    });
    struct Case { std::string name; std::string text; std::size_t patches; bool complete; };
    std::vector<Case> cases = {
        { "newer tag", WriteText([](RWvostream& s) { RWCollectableString("QN314").recursiveSaveOn(s); }), 42, false },
        { "garbage", "not a model file", 42, false },
        { "unknown class", WriteText([](RWvostream& s) {
              RWCollectableString("QN313").recursiveSaveOn(s);
              s << ':' << static_cast<unsigned short>(999) << '{';
          }), 42, false },
        { "bad reference", WriteText([](RWvostream& s) {
              RWCollectableString("QN313").recursiveSaveOn(s);
              s << '@' << 7;
          }), 42, false },
    };
    // A damaged second entry keeps the first.
    cases.push_back({ "second entry cut", good.substr(0, good.rfind("Zither")), 43, false });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(PatchesPath(), c.text);
        TWPlaybackMgr mgr;
        EXPECT_EQ(mgr.GetPatchCount(), c.patches);
        EXPECT_FALSE(mgr.SavePatches());
        EXPECT_EQ(ReadFile(PatchesPath()), c.text);
    }
    // A list holding something else than entries: the entries stand.
    WriteFile(PatchesPath(), WriteText([](RWvostream& s) {
                  RWCollectableString("QN313").recursiveSaveOn(s);
                  RWOrdered list;
                  RWCollectableString stranger("stranger");
                  TWMIDIPatch banjo = Patch("Banjo", 109, 1);
                  list.insert(&stranger);
                  list.insert(&banjo);
                  list.recursiveSaveOn(s);
              }));
    TWPlaybackMgr mgr;
    EXPECT_EQ(mgr.GetPatchCount(), 43u);
    EXPECT_EQ(mgr.GetUserList().entries(), 1u);
}

TEST_F(PlaybackMgrTest, EveryPrefixOfTheFileLoadsWithoutHarm)
{
    WritePatches("QN313", { Patch("Banjo", 109, 1), Patch("My Tabla", 108, 30) });
    const std::string full = ReadFile(PatchesPath());
    for (std::size_t length = 0; length < full.size(); ++length) {
        WriteFile(PatchesPath(), full.substr(0, length));
        TWPlaybackMgr mgr;
        EXPECT_GE(mgr.GetPatchCount(), 42u);
        EXPECT_LE(mgr.GetPatchCount(), 43u);
    }
}

TEST_F(PlaybackMgrTest, NoFileSavesAnEmptyUserList)
{
    TWPlaybackMgr mgr;
    ASSERT_TRUE(mgr.SavePatches());
    TWPlaybackMgr again;
    EXPECT_EQ(again.GetPatchCount(), 42u);
    EXPECT_TRUE(again.GetUserList().isEmpty());
}

TEST_F(PlaybackMgrTest, PlaybackCallsGiveTheirFixedAnswers)
{
    TWPlaybackMgr& mgr = *GetPlaybackMgr();
    EXPECT_TRUE(mgr.StopCurrentComposition());
    EXPECT_TRUE(mgr.PreparePlayback());
    EXPECT_TRUE(mgr.StartPlaybackSession());
    EXPECT_TRUE(mgr.AllNotesOff());
    EXPECT_TRUE(mgr.PlayComposition());
    EXPECT_TRUE(mgr.StopComposition());
    EXPECT_FALSE(mgr.isPlaying());
    EXPECT_FALSE(mgr.isTrackPlaying(0));
    EXPECT_EQ(mgr.SaveMIDIParms(), 0);
    EXPECT_FALSE(mgr.GenerateMIDIFile(nullptr, "x.mid", false));
    RWCollectableString composition("song");
    EXPECT_TRUE(mgr.GenerateMIDIFile(&composition, "x.mid", false));
}
