#include "ModelTestSupport.h"

#include "model/TWSettings.h"
#include "persist/LMFraction.h"
#include "persist/RWCollectableString.h"

#include <filesystem>

namespace
{
class SettingsTest : public UserFolderTest
{
protected:
    std::string PreferencesPath() const { return DataPath("Preferences.dat"); }

    static void Str(RWvostream& s, const char* text) { RWCollectableString(text).recursiveSaveOn(s); }
    static void Frac(RWvostream& s, int n, int d) { LMFraction(n, d).recursiveSaveOn(s); }

    // Groups 1 to 5 of the layout, with values that differ from the defaults.
    static void WriteOldestGroups(RWvostream& s, const char* tag)
    {
        Str(s, tag);
        for (int i = 1; i <= 7; ++i)
            Frac(s, i * 11, 1);
        s << 1 << 3 << 0;
        Str(s, "/somewhere/Exports");
        Str(s, "Only.qnb;");
        Str(s, "/somewhere/Library");
        s << -7 << 5;
        Frac(s, 3, 2);
        Str(s, "Noto");
        s << 18;
    }
    static void WriteGroup6(RWvostream& s)
    {
        s << 90 << 80;
        Str(s, "four");
        s << 0 << 0;
    }
    static void WriteGroup7(RWvostream& s)
    {
        s << 0;
        Str(s, "Latha");
        s << 20 << 1;
        Str(s, "Dholak");
        Str(s, "OPEN");
        Str(s, "CLOSED");
        s << 9 << 12ul << 0;
        Str(s, "A.qnp");
        Str(s, "B.qnp");
        Str(s, "C.qnp");
        Str(s, "Song.qnc");
    }

    static void ExpectFolders(const TWSettings& settings)
    {
        const std::string app = LUAppFoldersData();
        EXPECT_EQ(settings.GetApplicationFolder(), app);
        EXPECT_EQ(settings.GetLibraryFolder(), app + "Library");
        EXPECT_EQ(settings.GetSongsFolder(), app + "Songs");
        EXPECT_EQ(settings.GetExportedFilesFolder(), app + "Exported Files");
        EXPECT_EQ(settings.GetDefaultBinariesPath(), app + "Library/Binaries");
        EXPECT_EQ(settings.GetDefaultCompositionsTempPath(), app + "Songs/temp");
        EXPECT_EQ(settings.GetComponentsList(), TWSettings::kDefaultComponentsList);
    }
    static std::string LUAppFoldersData();

    static void ExpectDefaults(const TWPreferenceFields& f, bool from306, bool from308)
    {
        const TWPreferenceFields d;
        if (from306) {
            EXPECT_EQ(f.intThree, d.intThree);
            EXPECT_EQ(f.trackVolume, d.trackVolume);
            EXPECT_EQ(f.textFour, d.textFour);
            EXPECT_EQ(f.thirdFlag, d.thirdFlag);
            EXPECT_EQ(f.alternateChannels, d.alternateChannels);
        }
        if (from308) {
            EXPECT_EQ(f.fourthFlag, d.fourthFlag);
            EXPECT_EQ(f.secondFont, d.secondFont);
            EXPECT_EQ(f.secondFontSize, d.secondFontSize);
            EXPECT_EQ(f.fifthFlag, d.fifthFlag);
            EXPECT_EQ(f.instrumentText, d.instrumentText);
            EXPECT_EQ(f.textSix, d.textSix);
            EXPECT_EQ(f.textSeven, d.textSeven);
            EXPECT_EQ(f.intFour, d.intFour);
            EXPECT_EQ(f.unsignedFive, d.unsignedFive);
            EXPECT_EQ(f.midiHeader, d.midiHeader);
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(f.partFiles[i], d.partFiles[i]);
            EXPECT_EQ(f.compositionFile, d.compositionFile);
        }
    }
};
} // namespace

#include "model/LUAppFolders.h"

std::string SettingsTest::LUAppFoldersData()
{
    return LUAppFolders::GetDataFolder();
}

TEST_F(SettingsTest, WithoutAFileEverythingIsDefaultAndTheFoldersAreSet)
{
    TWSettings settings;
    settings.LoadSettings();
    ExpectFolders(settings);
    const TWPreferenceFields& f = settings.GetFields();
    const int tempos[] = { 10, 15, 40, 100, 150, 200, 350 };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(settings.GetReferenceTempo(i), LMFraction(tempos[i]));
    EXPECT_FALSE(f.firstFlag);
    EXPECT_TRUE(f.secondFlag);
    EXPECT_EQ(f.intOne, -12);
    EXPECT_EQ(settings.GetViewFraction(), LMFraction(1));
    EXPECT_EQ(settings.GetNotationFont(), "Shusha");
    EXPECT_EQ(settings.GetTrackVolume(), 100);
    EXPECT_TRUE(settings.GetAlternateChannels());
    EXPECT_EQ(settings.GetMIDIHeaderLength(), 960);
    EXPECT_EQ(f.secondFont, "e-Tamil");
    EXPECT_EQ(f.compositionFile, "Default.qnc");
    EXPECT_EQ(settings.GetTVBeatWidth(), 60);
    EXPECT_EQ(settings.GetViewSize(3), 600);
    EXPECT_EQ(TWSettings::GetPulsePerQuarter(), 480);
    EXPECT_EQ(static_cast<unsigned char>(TWSettings::GetSeparator()), 0xA7);
}

TEST_F(SettingsTest, AQN306FileSetsItsFieldsAndLeavesTheNewerOnesAtTheirDefaults)
{
    // The values of group 7 follow in the file but a QN306 reader must not
    // take them.
    WriteFile(PreferencesPath(), WriteText([](RWvostream& s) {
                  WriteOldestGroups(s, "QN306");
                  WriteGroup6(s);
                  WriteGroup7(s);
              }));
    TWSettings settings;
    settings.LoadSettings();
    const TWPreferenceFields& f = settings.GetFields();
    EXPECT_EQ(settings.GetReferenceTempo(6), LMFraction(77));
    EXPECT_TRUE(f.firstFlag);
    EXPECT_EQ(settings.GetPlaybackQuality(), 3);
    EXPECT_FALSE(f.secondFlag);
    EXPECT_EQ(f.intOne, -7);
    EXPECT_EQ(f.intTwo, 5);
    EXPECT_EQ(settings.GetViewFraction(), LMFraction(3, 2));
    EXPECT_EQ(settings.GetNotationFont(), "Noto");
    EXPECT_EQ(settings.GetNotationFontSize(), 18);
    EXPECT_EQ(f.intThree, 90);
    EXPECT_EQ(settings.GetTrackVolume(), 80);
    EXPECT_EQ(f.textFour, "four");
    EXPECT_FALSE(f.thirdFlag);
    EXPECT_FALSE(settings.GetAlternateChannels());
    ExpectDefaults(f, false, true);
    // The file's folders and component list never stand.
    ExpectFolders(settings);
}

TEST_F(SettingsTest, VersionGatesDecideWhichGroupsAreRead)
{
    struct Case { const char* tag; bool group6; bool group7; bool anything; };
    const Case cases[] = {
        { "QN300", false, false, true }, { "QN304", false, false, true }, { "QN306", true, false, true },
        { "QN308", true, true, true },   { "QN313", true, true, true },   { "QN314", false, false, false },
        { "QN4", false, false, false },  { "", false, false, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        WriteFile(PreferencesPath(), WriteText([&](RWvostream& s) {
                      WriteOldestGroups(s, c.tag);
                      if (c.group6)
                          WriteGroup6(s);
                      if (c.group7)
                          WriteGroup7(s);
                  }));
        TWSettings settings;
        settings.LoadSettings();
        const TWPreferenceFields& f = settings.GetFields();
        EXPECT_EQ(f.intOne, c.anything ? -7 : -12);
        EXPECT_EQ(settings.GetTrackVolume(), c.group6 ? 80 : 100);
        EXPECT_EQ(f.secondFont, c.group7 ? "Latha" : "e-Tamil");
        EXPECT_EQ(settings.GetMIDIHeader(), !c.group7);
        EXPECT_EQ(f.compositionFile, c.group7 ? "Song.qnc" : "Default.qnc");
        ExpectFolders(settings);
    }
}

TEST_F(SettingsTest, SavedSettingsReadBack)
{
    TWSettings written;
    written.LoadSettings();
    TWPreferenceFields& f = written.GetFields();
    f.referenceTempos[2] = LMFraction(7, 3);
    f.firstFlag = true;
    f.playbackQuality = 2;
    f.viewFraction = LMFraction(1, 4);
    f.trackVolume = 64;
    f.alternateChannels = false;
    f.secondFont = "Mangal";
    f.unsignedFive = 4000000000ul;
    f.midiHeader = false;
    f.partFiles[1] = "Mine.qnp";
    ASSERT_TRUE(written.SaveSettings());

    TWSettings read;
    read.LoadSettings();
    const TWPreferenceFields& r = read.GetFields();
    EXPECT_EQ(read.GetReferenceTempo(2), LMFraction(7, 3));
    EXPECT_TRUE(r.firstFlag);
    EXPECT_EQ(r.playbackQuality, 2);
    EXPECT_EQ(r.viewFraction, LMFraction(1, 4));
    EXPECT_EQ(r.trackVolume, 64);
    EXPECT_FALSE(r.alternateChannels);
    EXPECT_EQ(r.secondFont, "Mangal");
    EXPECT_EQ(r.unsignedFive, 4000000000ul);
    EXPECT_EQ(read.GetMIDIHeaderLength(), 0);
    EXPECT_EQ(r.partFiles[1], "Mine.qnp");
    ExpectFolders(read);
}

TEST_F(SettingsTest, DamagedFilesKeepWhatWasReadBeforeTheDamage)
{
    const std::string full = WriteText([](RWvostream& s) {
        WriteOldestGroups(s, "QN313");
        WriteGroup6(s);
        WriteGroup7(s);
    });
    // Every prefix of the file, then the file with each byte replaced.
    for (std::size_t length = 0; length < full.size(); ++length) {
        WriteFile(PreferencesPath(), full.substr(0, length));
        TWSettings settings;
        settings.LoadSettings();
        ExpectFolders(settings);
        if (length < full.size() / 4) // the groups after the damage keep their defaults
            ExpectDefaults(settings.GetFields(), true, true);
    }
    const char replacements[] = { '@', ':', '\\', '"', '9', '\n', 'x' };
    for (std::size_t at = 0; at < full.size(); ++at)
        for (char c : replacements) {
            std::string damaged = full;
            damaged[at] = c;
            WriteFile(PreferencesPath(), damaged);
            TWSettings settings;
            settings.LoadSettings();
            ExpectFolders(settings);
        }
}

TEST_F(SettingsTest, AFileThatIsAFolderLeavesTheDefaults)
{
    std::filesystem::create_directories(PreferencesPath());
    TWSettings settings;
    settings.LoadSettings();
    ExpectDefaults(settings.GetFields(), true, true);
    ExpectFolders(settings);
    EXPECT_FALSE(settings.SaveSettings());
}
