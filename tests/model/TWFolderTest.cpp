#include "ModelTestSupport.h"

#include "model/LUFilePath.h"
#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSettings.h"

namespace
{
class FolderTest : public UserFolderTest
{
protected:
    void SetUp() override
    {
        UserFolderTest::SetUp();
        GetSettings()->LoadSettings();
        mInstrument.AddInstrumentPart("Main", 0, 127, 0, false);
        mInstrument.AddFactory()->AddRootFolder();
    }
    TWFactory& Factory() { return *mInstrument.GetFactory(); }
    TWGMInstrument mInstrument{ "Tabla" };
};

TEST_F(FolderTest, RhythmicLibraryPathsHaveNoRoot)
{
    TWFolder* cycles = Factory().CreateSubFolder("Loops\\Cycles\\");
    ASSERT_NE(cycles, nullptr);
    EXPECT_EQ(cycles->GetFolderPath(), "Loops\\Cycles\\");
    EXPECT_EQ(cycles->GetName(), "Cycles");
    TWFolder* loops = Factory().GetFolder("Loops\\");
    ASSERT_NE(loops, nullptr);
    EXPECT_TRUE(loops->GetSubFolders().contains(cycles));
    EXPECT_EQ(mInstrument.GetFolder("Loops\\Cycles\\"), cycles);
    // Asking again creates nothing.
    EXPECT_EQ(Factory().CreateSubFolder("Loops\\Cycles\\"), cycles);
    EXPECT_EQ(Factory().GetContainer().GetFolders().entries(), 3u);

    // Same name, other parent: one hash bucket, two folders.
    TWFolder* other = Factory().CreateSubFolder("Practice\\Cycles\\");
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, cycles);
    EXPECT_EQ(other->hash(), cycles->hash());
    EXPECT_FALSE(other->isEqual(cycles));
    EXPECT_EQ(Factory().GetFolder("Practice\\Cycles\\"), other);
    EXPECT_EQ(Factory().GetFolder("Cycles\\"), nullptr);

    TWRhythmicCycle* teental = Factory().CreateRhythmicCycle("Teental", "", cycles, 1, 16, 16, 4);
    EXPECT_EQ(teental->GetItemPath(), "Loops\\Cycles\\Teental");
    EXPECT_EQ(Factory().GetItem("Loops\\Cycles\\Teental"), teental);
    EXPECT_EQ(Factory().GetItem("Practice\\Cycles\\Teental"), nullptr);
    EXPECT_TRUE(cycles->GetItems().contains(teental));
    EXPECT_EQ(Factory().GetRootFolder("Anything:Loops\\"), Factory().GetRootFolder());
}

TEST_F(FolderTest, NamedLibraryPathsStartWithTheRoot)
{
    TWInstrument named("Sitar"); // not rhythmic
    TWFactory* factory = named.AddFactory();
    ASSERT_FALSE(factory->GetContainer().isRhythmic());
    TWRootFolder* root = factory->AddRootFolder();
    root->SetRootName("All");
    // The folder set holds the root under its old name: enter it again.
    factory->GetContainer().GetFolders().clear();
    factory->GetContainer().GetFolders().insert(root);
    EXPECT_EQ(root->GetFolderPath(), "All:");
    EXPECT_EQ(root->GetName(), "All");
    EXPECT_EQ(factory->GetFolder("All:"), root);
    EXPECT_EQ(factory->GetDefaultStroke(root), root->GetDefaultStroke());
    EXPECT_EQ(factory->GetContainer().GetDefaultStroke(), nullptr);

    TWFolder* cycles = factory->CreateSubFolder("All:Loops\\Cycles\\");
    ASSERT_NE(cycles, nullptr);
    EXPECT_EQ(cycles->GetFolderPath(), "All:Loops\\Cycles\\");
    EXPECT_EQ(factory->GetFolder("All:Loops\\"), static_cast<TWSubFolder*>(cycles)->GetParent());
    EXPECT_EQ(factory->GetDefaultStroke(cycles), root->GetDefaultStroke());
    EXPECT_EQ(factory->GetRootFolder("None:Loops\\"), nullptr);
    EXPECT_EQ(factory->CreateSubFolder("None:Loops\\"), nullptr);
}

TEST_F(FolderTest, UnderlyingPathsDependOnTheLibrary)
{
    TWRhythmicCycle* loop = Factory().CreateRhythmicCycle("Loop", "", Factory().GetRootFolder(), 1, 1, 1, 1);
    EXPECT_EQ(loop->GetUnderlyingPath(), "");
    loop->SetUnderlyingName("RZ100000.mid");
    EXPECT_EQ(loop->GetUnderlyingPath(), GetSettings()->GetDefaultBinariesPath() + "/RZ100000.mid");
    RWCollectableString track("track");
    mInstrument.SetTrackOwner(&track);
    EXPECT_EQ(loop->GetUnderlyingPath(), GetSettings()->GetDefaultCompositionsTempPath() + "/RZ100000.mid");
    mInstrument.SetTrackOwner(nullptr);
    // Strokes have no file.
    EXPECT_EQ(Factory().GetItem("S")->GetUnderlyingPath(), "");
}

TEST(LUFilePath, SplitsAtTheLastColonAndBackslash)
{
    struct Case { const char* path; const char* root; const char* withoutRoot; const char* pathOnly; const char* name;
                  const char* bare; bool isPath; };
    const Case cases[] = {
        { "All:Loops\\Cycles\\Teental.mid", "All", "Loops\\Cycles\\Teental.mid", "All:Loops\\Cycles", "Teental.mid",
          "Teental", true },
        { "Teental", "", "Teental", "", "Teental", "Teental", false },
        { "Loops\\", "", "Loops\\", "Loops", "", "", true },
        { "a:b:c", "a:b", "c", "", "a:b:c", "a:b:c", false },
        { "x.y.z", "", "x.y.z", "", "x.y.z", "x.y", false },
        { "", "", "", "", "", "", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const LUFilePath path(c.path);
        EXPECT_EQ(path.GetRootOnly(), c.root);
        EXPECT_EQ(path.GetPathWithoutRoot(), c.withoutRoot);
        EXPECT_EQ(path.GetPathOnly(), c.pathOnly);
        EXPECT_EQ(path.GetNameOnly(), c.name);
        EXPECT_EQ(path.GetNameWithoutExtension(), c.bare);
        EXPECT_EQ(path.isPath(), c.isPath);
    }
}

TEST(LibraryKeys, NameTheTextAfterTheLastSeparator)
{
    EXPECT_EQ(TWFolderKey("Loops\\Cycles\\").GetName(), "Cycles");
    EXPECT_EQ(TWFolderKey("All:Loops\\").GetName(), "Loops");
    EXPECT_EQ(TWFolderKey("All:").GetName(), "All");
    EXPECT_EQ(TWFolderKey("").GetName(), "");
    EXPECT_EQ(TWItemKey("Loops\\Teental").GetName(), "Teental");
    EXPECT_EQ(TWItemKey("All:Teental").GetName(), "Teental");
    EXPECT_EQ(TWItemKey("Teental").GetName(), "Teental");
}
} // namespace
