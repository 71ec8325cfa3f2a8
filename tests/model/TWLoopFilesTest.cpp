#include "CompositionTestSupport.h"

#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWLoopFiles.h"
#include "model/TWRhythmicCycle.h"

#include <filesystem>

namespace
{
namespace fs = std::filesystem;
using namespace TWLoopFiles;

class LoopFilesTest : public CompositionTest
{
protected:
    std::string Temp() const { return GetSettings()->GetDefaultCompositionsTempPath(); }
    void Touch(const std::string& folder, const std::string& name, const std::string& text = "x")
    {
        fs::create_directories(folder);
        WriteFile(folder + "/" + name, text);
    }
};

TEST_F(LoopFilesTest, NamesAreCountedPerExtension)
{
    struct Case
    {
        std::vector<std::string> files;
        const char* extension;
        const char* next;
    };
    const Case cases[] = {
        { {}, ".mid", "RZ100000.mid" },
        { { "RZ100000.mid", "RZ100004.mid" }, ".mid", "RZ100005.mid" },
        { { "RZ100000.mid", "RZ100004.mid" }, ".wav", "RZ100000.wav" },
        { { "RZ100000.wav", "Other.wav", "rz100007.wav" }, ".wav", "RZ100001.wav" },
        // The highest number, even past six digits, and never a file's name.
        { { "RZ999999.aif", "RZ1000000.aif" }, ".aif", "RZ1000001.aif" },
        { { "RZ100002.mid", "RZtake.mid" }, ".mid", "RZ100003.mid" },
        { { "RZtake.mid" }, ".mid", "RZ100000.mid" },
        { { "RZ100000.mid", "RZ100000_quant.mid" }, ".mid", "RZ100001.mid" },
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string folder = mHome + "/names" + std::to_string(n++);
        for (const std::string& file : c.files)
            Touch(folder, file);
        EXPECT_EQ(getNextAvailableBinaryName(folder, c.extension), c.next) << folder;
    }
    // The folder is made when missing.
    EXPECT_EQ(getNextAvailableBinaryName(mHome + "/new/folder", ".wav"), "RZ100000.wav");
    EXPECT_TRUE(fs::is_directory(mHome + "/new/folder"));
}

TEST_F(LoopFilesTest, DroppedFilesAreCopiedUnderTheNextName)
{
    Touch(mHome, "voice.WAV", "RIFF");
    Touch(mHome, "groove.mid", "MThd");
    EXPECT_EQ(dragBinaryFileCopy(mHome + "/voice.WAV"), "RZ100000.WAV");
    EXPECT_EQ(ReadFile(Temp() + "/RZ100000.WAV"), "RIFF");
    EXPECT_EQ(dragBinaryFileCopy(mHome + "/voice.WAV"), "RZ100001.WAV");
    EXPECT_EQ(dragBinaryFileCopy(mHome + "/missing.wav"), "");
    EXPECT_EQ(dragBinaryFileCopy(mHome), ""); // a folder is no file

    // A MIDI copy goes through the engine's conversion once one is set.
    std::vector<std::string> converted;
    SetMIDIType0Converter([&](const std::string& path) {
        converted.push_back(path);
        return true;
    });
    EXPECT_EQ(dragBinaryFileCopy(mHome + "/groove.mid"), "RZ100000.mid");
    EXPECT_EQ(dragBinaryFileCopy(mHome + "/voice.WAV", mHome + "/other"), "RZ100000.WAV");
    SetMIDIType0Converter(nullptr);
    EXPECT_EQ(converted, std::vector<std::string>{ Temp() + "/RZ100000.mid" });
    EXPECT_EQ(ReadFile(Temp() + "/RZ100000.mid"), "MThd");
}

TEST_F(LoopFilesTest, FileTypesTwinsAndSharedFiles)
{
    for (const char* e : { ".mid", ".MiD", ".wav", ".WAV", ".aif", ".AIFF", ".aiff" })
        EXPECT_TRUE(allowFileType(e)) << e;
    for (const char* e : { ".mp3", "mid", "", ".midi", ".ogg" })
        EXPECT_FALSE(allowFileType(e)) << e;

    const std::string loop = Temp() + "/RZ100000.mid";
    EXPECT_EQ(getUnderlyingFilePath(loop), loop); // no twin yet
    Touch(Temp(), "RZ100000_quant.mid");
    EXPECT_EQ(getUnderlyingFilePath(loop), Temp() + "/RZ100000_quant.mid");
    EXPECT_EQ(getUnderlyingFilePath(Temp() + "/RZ100000.MID"), Temp() + "/RZ100000.MID");
    EXPECT_EQ(getUnderlyingFilePath(Temp() + "/RZ100000.wav"), Temp() + "/RZ100000.wav");

    const std::vector<std::string> paths = { "/t/RZ100000.mid", "/t/rz100000.MID", "/t/RZ100001.mid" };
    EXPECT_FALSE(hasUniqueBinary(paths, 0, paths[0])); // differs only in case from loop 1
    EXPECT_FALSE(hasUniqueBinary(paths, 1, paths[1]));
    EXPECT_TRUE(hasUniqueBinary(paths, 2, paths[2]));
    EXPECT_TRUE(hasUniqueBinary({}, 0, "/t/RZ1.mid"));
}

TEST_F(LoopFilesTest, ALoopBroughtFromALibraryGetsItsOwnFileAndItems)
{
    ASSERT_EQ(Song().AddInstrumentTrack("GM", 0, "Tabla", 0, 4, 100, 0), 1);
    TWFactory* track = Song().GetTrack(0)->GetTrackFactory();
    // A library outside the song, with a loop whose cells use a pattern.
    TWGMInstrument instrument("Tabla");
    TWFactory* library = instrument.AddFactory();
    TWRootFolder* root = library->AddRootFolder();
    TWFolder* cycles = library->CreateSubFolder("Loops\\Cycles\\");
    TWRhythmicPattern* theka = library->CreateRhythmicPattern("Theka", "", cycles, 2, 2, 2);
    TWRhythmicCycle* teental = library->CreateRhythmicCycle("Teental", "", cycles, 1, 4, 16, 4);
    teental->SetUnderlyingName("teental.mid");
    teental->SetComposer("Ustad");
    teental->RemoveItem(1);
    teental->AddItem(teental->NewCell(theka, 0, LMFraction(1, 4)), 1);
    Touch(GetSettings()->GetDefaultBinariesPath(), "teental.mid", "MThd");

    TWFolder* target = track->AddNewComponentFolder();
    auto* copy = dynamic_cast<TWRhythmicCycle*>(track->MoveItem(teental, target, ""));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, teental);
    EXPECT_EQ(copy->GetItemPath(), "Comp#1\\Teental");
    EXPECT_EQ(copy->GetUnderlyingName(), "RZ100000.mid");
    EXPECT_EQ(ReadFile(Temp() + "/RZ100000.mid"), "MThd");
    EXPECT_EQ(*copy->GetComposer(), "Ustad");
    EXPECT_EQ(track->GetSymbolManager().AddSymbol(1, "Ustad"), copy->GetComposer());
    // Its cells use the track library's items only.
    EXPECT_EQ(copy->GetSequencedItem(0)->GetItem(), track->GetContainer().GetDefaultStroke());
    TWRhythmicItem* movedTheka = copy->GetSequencedItem(1)->GetItem();
    EXPECT_EQ(movedTheka->GetFactory(), track);
    EXPECT_EQ(movedTheka->GetName(), "Theka");
    EXPECT_EQ(teental->GetSequencedItem(1)->GetItem(), theka); // the source is left alone
    EXPECT_EQ(theka->GetClients().index(copy), RW_NPOS);
    // Moving it again finds the copy already there.
    EXPECT_EQ(track->MoveItem(teental, target, ""), copy);
    (void)root;
}
} // namespace
