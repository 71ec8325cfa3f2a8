#include "ModelTestSupport.h"

#include "model/TWComponentsMgr.h"
#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWInstrumentAlias.h"
#include "model/TWInstrumentPart.h"
#include "model/TWMelodicStroke.h"

#include <memory>
#include <set>

namespace
{
class ComponentsTest : public UserFolderTest
{
};

TEST_F(ComponentsTest, AFreshStartHasTheNineteenInstrumentsEachWithOneSilentLibrary)
{
    TWComponentsMgr mgr;
    const std::vector<TWInstrument*> instruments = mgr.GetInstruments();
    ASSERT_EQ(instruments.size(), 19u);
    const std::vector<TWInstrumentAlias*> aliases = mgr.GetAliases();
    ASSERT_EQ(aliases.size(), 19u);
    std::set<std::string> names;
    for (std::size_t i = 0; i < instruments.size(); ++i) {
        TWInstrument* instrument = instruments[i];
        SCOPED_TRACE(instrument->GetName().str());
        names.insert(instrument->GetName().str());
        // Made in the order of the alias dictionary.
        EXPECT_EQ(instrument->GetName(), aliases[i]->GetInstrumentName());
        EXPECT_EQ(instrument->GetIndex(), static_cast<int>(i));
        const bool audio = instrument->GetName() == "Audio";
        EXPECT_EQ(dynamic_cast<TWAudioInstrument*>(instrument) != nullptr, audio);
        EXPECT_EQ(dynamic_cast<TWGMInstrument*>(instrument) != nullptr, !audio);
        EXPECT_EQ(instrument->isA(), 302);
        EXPECT_TRUE(instrument->isRhythmic());
        EXPECT_EQ(instrument->GetOption(), 1);

        ASSERT_EQ(instrument->GetParts().entries(), 1u);
        const TWInstrumentPart* main = instrument->GetMainInstrumentPart();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(main->GetName(), "Main");
        EXPECT_EQ(main->GetShort(0), 0);
        EXPECT_EQ(main->GetShort(1), 127);
        EXPECT_EQ(main->GetShort(2), 0);
        EXPECT_FALSE(main->GetFlag());
        EXPECT_EQ(main->GetNewerInt(2), -1);

        ASSERT_EQ(instrument->GetFactories().entries(), 1u);
        const TWFactory* factory = instrument->GetFactory();
        ASSERT_NE(factory, nullptr);
        EXPECT_EQ(factory->GetVersionTag(), "QN312");
        const TWContainer& container = factory->GetContainer();
        EXPECT_TRUE(container.isRhythmic());
        EXPECT_EQ(container.GetName(), instrument->GetName());
        EXPECT_EQ(container.GetRoots().entries(), 1u);
        EXPECT_EQ(container.GetFolders().entries(), 1u);
        ASSERT_EQ(container.GetItems().entries(), 1u);
        const TWRootFolder* root = factory->GetRootFolder();
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->GetFolderPath(), "");
        EXPECT_EQ(root->GetRootName(), "Root");
        auto* silence = dynamic_cast<TWMelodicStroke*>(container.GetDefaultStroke());
        ASSERT_NE(silence, nullptr);
        EXPECT_EQ(silence->GetName(), "S");
        EXPECT_EQ(silence->GetAlias(nullptr), "Silence");
        EXPECT_EQ(silence->GetText(0), "-");
        EXPECT_EQ(silence->GetText(1), "D");
        EXPECT_EQ(silence->GetFolder(), root);
        EXPECT_EQ(factory->GetItem("S"), silence);
        EXPECT_EQ(factory->GetDefaultStroke(root), silence);
        EXPECT_TRUE(root->GetItems().contains(silence));
        EXPECT_EQ(instrument->isExclusive(), instrument->GetName() == "Duggis" || instrument->GetName() == "Tumbi");
    }
    const std::set<std::string> expected = { "GM",   "Audio", "Tabla",    "Dholak",  "Manjeera",    "Dhol",  "Bells",
                                             "Gunghroo", "Duff", "Duggis", "Tambourines", "Chimta", "Tumbi", "Ghatam",
                                             "Tanpura", "Drums", "Bass",   "Guitar",  "General" };
    EXPECT_EQ(names, expected);
}

TEST_F(ComponentsTest, AliasesLeadToTheirInstruments)
{
    TWComponentsMgr mgr;
    const TWInstrumentAlias* gm = mgr.GetInstrumentAlias("GM");
    ASSERT_NE(gm, nullptr);
    EXPECT_TRUE(gm->GetFirstFlag());
    EXPECT_TRUE(gm->GetSecondFlag());
    const TWInstrumentAlias* tabla = mgr.GetInstrumentAlias("Tabla");
    ASSERT_NE(tabla, nullptr);
    EXPECT_EQ(tabla->GetFamily(), "GM");
    EXPECT_TRUE(tabla->GetFirstFlag());
    EXPECT_FALSE(tabla->GetSecondFlag());
    EXPECT_EQ(mgr.GetInstrumentAlias("Sitar"), nullptr);

    EXPECT_EQ(mgr.GetAbsoluteInstrument("Tabla")->GetName(), "Tabla");
    EXPECT_EQ(mgr.GetInstrument("Audio")->GetName(), "Audio");
    EXPECT_EQ(mgr.GetInstrument("Sitar"), nullptr);

    std::unique_ptr<TWInstrument> copy(mgr.GetNewInstrument("Dholak"));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy.get(), mgr.GetInstrument("Dholak"));
    EXPECT_NE(dynamic_cast<TWGMInstrument*>(copy.get()), nullptr);
    EXPECT_EQ(copy->GetName(), "Dholak");
    EXPECT_EQ(copy->GetFactory(), nullptr);
    ASSERT_NE(copy->GetMainInstrumentPart(), nullptr);
    EXPECT_NE(copy->GetMainInstrumentPart(), mgr.GetInstrument("Dholak")->GetMainInstrumentPart());
    EXPECT_EQ(copy->GetIndex(), -1);
    EXPECT_EQ(mgr.GetNewInstrument("Sitar"), nullptr);

    mgr.Clear();
    EXPECT_EQ(mgr.GetInstrumentCount(), 0u);
    EXPECT_EQ(mgr.GetInstrument("Tabla"), nullptr);
}

TEST_F(ComponentsTest, TheProcessWideManagerExists)
{
    TWComponentsMgr* mgr = GetComponentsMgr();
    EXPECT_EQ(mgr, GetComponentsMgr());
    EXPECT_EQ(mgr->GetInstrumentCount(), 19u);
    EXPECT_EQ(mgr->GetCurrentFactory(), nullptr);
}

TEST_F(ComponentsTest, AnInstrumentPartIsAddedOncePerName)
{
    TWGMInstrument instrument("Sitar");
    ASSERT_NE(instrument.AddInstrumentPart("Main", 0, 127, 0, false), nullptr);
    EXPECT_EQ(instrument.AddInstrumentPart("Main", 1, 2, 3, true), nullptr);
    EXPECT_NE(instrument.AddInstrumentPart("Chikari", 1, 2, 3, true), nullptr);
    EXPECT_EQ(instrument.GetParts().entries(), 2u);
}
} // namespace
