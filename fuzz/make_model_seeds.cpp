// Writes the seed corpora of the model's fuzz targets with the program's own
// writers. Usage: fuzz_make_model_seeds <corpus folder>
#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWPlaybackMgr.h"
#include "model/TWRegisterModelClasses.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSettings.h"
#include "persist/RWGraphIO.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{
bool WriteSeed(const std::filesystem::path& folder, const char* name, char tagIndex, const std::string& text)
{
    std::filesystem::create_directories(folder);
    std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
    file << tagIndex << text;
    return static_cast<bool>(file);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    TWRegisterModelClasses();
    const std::filesystem::path corpus(argv[1]);
    std::filesystem::create_directories(corpus / "read_preferences");
    std::filesystem::create_directories(corpus / "read_patches");

    TWSettings settings;
    settings.GetFields().trackVolume = 80;
    bool ok = settings.SaveSettingsTo((corpus / "read_preferences" / "current").string());

    TWPlaybackMgr patches;
    TWMIDIPatch banjo;
    banjo.SetName("Banjo");
    banjo.mBank = 109;
    patches.AddUserPatch(banjo);
    TWMIDIPatch tabla = *patches.GetDefaultPatch("Tabla");
    tabla.SetName("My Tabla");
    patches.AddUserPatch(tabla);
    ok = patches.SavePatchesTo((corpus / "read_patches" / "two-entries").string()) && ok;

    TWGMInstrument instrument("Tabla");
    instrument.AddInstrumentPart("Main", 0, 127, 0, false);
    TWFactory* factory = instrument.AddFactory();
    TWRootFolder* root = factory->AddRootFolder();
    TWFolder* cycles = factory->CreateSubFolder("Loops\\Cycles\\");
    TWRhythmicCycle* loop = factory->CreateRhythmicCycle("Teental", "", cycles, 1, 4, 16, 4);
    loop->SetUnderlyingName("RZ100000.mid");
    loop->AddStyle("Delhi");
    TWRhythmicCycle* main = factory->CreateRhythmicCycle("Main", "", root, 1, 8, 8, 8);
    main->RemoveItem(2);
    main->AddItem(main->NewCell(loop, 0, LMFraction(1, 8)), 2);
    main->SplitItem(main->GetSequencedItem(2), 2);
    const std::string library = rwSaveToString(&instrument);
    ok = WriteSeed(corpus / "read_library", "library-qn312", 10, library) && ok;
    ok = WriteSeed(corpus / "read_library", "library-qn304", 5, library) && ok;
    ok = WriteSeed(corpus / "read_library", "library-3.0", 1, library) && ok;
    return ok ? 0 : 1;
}
