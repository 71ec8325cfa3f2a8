#include "ModelTestSupport.h"

#include "model/TWComponentsMgr.h"
#include "model/TWFactory.h"
#include "model/TWInstrument.h"
#include "model/TWMelodicStroke.h"
#include "model/TWPlaybackMgr.h"
#include "model/TWSettings.h"

#include <filesystem>

namespace
{
class FreshStartTest : public UserFolderTest
{
};

// What the engine finds at start-up without any file of the user's.
TEST_F(FreshStartTest, GivesTheBuiltinInstrumentsLibrariesAndDefaultPreferences)
{
    TWSettings settings;
    settings.LoadSettings();
    EXPECT_EQ(settings.GetLibraryFolder(), DataPath("Library"));
    EXPECT_EQ(settings.GetTrackVolume(), 100);

    TWPlaybackMgr table;
    ASSERT_EQ(table.GetPatchCount(), 42u);
    EXPECT_EQ(static_cast<TWMIDIPatch*>(*table.GetMainList().begin())->mName, "Audio");

    TWComponentsMgr components;
    ASSERT_EQ(components.GetInstrumentCount(), 19u);
    for (TWInstrument* instrument : components.GetInstruments()) {
        const TWFactory* factory = instrument->GetFactory();
        ASSERT_NE(factory, nullptr);
        EXPECT_EQ(factory->GetContainer().GetRoots().entries(), 1u);
        const auto* silence = dynamic_cast<const TWMelodicStroke*>(factory->GetContainer().GetDefaultStroke());
        ASSERT_NE(silence, nullptr);
        EXPECT_EQ(silence->GetName(), "S");
        EXPECT_EQ(silence->GetAlias(nullptr), "Silence");
    }
    // Nothing was written.
    EXPECT_FALSE(std::filesystem::exists(DataPath("Preferences.dat")));
    EXPECT_FALSE(std::filesystem::exists(DataPath("Instruments.dat")));
}

TEST_F(FreshStartTest, AFolderWhereAFileShouldBeIsLeftAlone)
{
    std::filesystem::create_directories(DataPath("Instruments.dat"));
    TWPlaybackMgr table;
    EXPECT_EQ(table.GetPatchCount(), 42u);
    EXPECT_FALSE(table.SavePatches());
    EXPECT_TRUE(std::filesystem::is_directory(DataPath("Instruments.dat")));
}
} // namespace
