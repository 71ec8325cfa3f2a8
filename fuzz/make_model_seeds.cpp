// Writes the seed corpora of the model's fuzz targets with the program's own
// writers. Usage: fuzz_make_model_seeds <corpus folder>
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWPlaybackMgr.h"
#include "model/TWRegisterModelClasses.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSettings.h"
#include "persist/RWGraphIO.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

    // Songs: a soundtrack song with a loop on each track, an effect, an
    // engine state and a loop range; and the same text under older tags.
    GetSettings()->LoadSettings();
    TWCompositionsMgr* songs = GetCompositionsMgr();
    songs->ClearComposition(0);
    TWComposition* song = songs->GetComposition(0);
    song->AddInstrumentTrack("Audio", 0, "Audio", 0, 4, 100, 0);
    song->AddInstrumentTrack("GM", 9, "Tabla", 0, 4, 100, 0);
    songs->AddTrackItem(0, 0, 16)->SetUnderlyingName("RZ100000.wav");
    songs->AddTrackItem(1, 8, 4)->SetUnderlyingName("RZ100000.mid");
    song->GetTrack(1)->AddTrackEffect("Reverb");
    song->GetTrack(1)->SetSavedEngineState("M?AAAA");
    song->AddLoopRange(0, 1920, 2);
    const std::filesystem::path folder = corpus / "read_composition";
    std::filesystem::create_directories(folder);
    ok = songs->SaveComposition((folder / "song-QN313.nvc").string()) && ok;
    std::ifstream in(folder / "song-QN313.nvc", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* tag : { "QN310", "QN311", "QN304" }) {
        std::string older = text;
        older.replace(older.find("QN313"), 5, tag);
        std::ofstream out(folder / (std::string("song-") + tag + ".nvc"), std::ios::binary | std::ios::trunc);
        out << older;
    }
    // A small one: no tracks, one loop range.
    songs->ClearComposition(0);
    songs->GetComposition(0)->AddLoopRange(480, 960, 1);
    ok = songs->SaveComposition((folder / "empty-song.nvc").string()) && ok;
    return ok ? 0 : 1;
}
