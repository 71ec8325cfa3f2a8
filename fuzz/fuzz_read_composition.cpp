// Reads arbitrary bytes as a song's "Main.nvc": the load never crashes,
// leaks or misbehaves; a file that is not read in full leaves a new, empty
// song; whatever was read can be arranged and saved.
#include "FuzzInputFile.h"

#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWRegisterModelClasses.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSettings.h"
#include "model/TWStrokesManager.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = (TWRegisterModelClasses(), GetSettings()->LoadSettings(), true);
    (void)ready;
    const std::string path = FuzzInputFile(data, size, "Main.nvc");
    TWCompositionsMgr* mgr = GetCompositionsMgr();
    const bool loaded = mgr->LoadComposition(path, 0);
    TWComposition* song = mgr->GetComposition(0);
    if (!song || (!loaded && song->GetTrackCount() != 0))
        std::abort();
    (void)song->GetMinimumNrOfBeats();
    for (std::size_t t = 0; t < song->GetTrackCount(); ++t)
        for (const TWTrackItem& item : song->GetItemsInTrack(static_cast<int>(t)))
            if (item.item)
                (void)item.item->GetUnderlyingPath();
    if (TWRhythmicSequence* loop = mgr->AddTrackItem(0, 4, 8)) {
        mgr->MoveTrackItem(0, loop, 1, 300);
        mgr->SetTrackItemDuration(0, loop, 1, 240);
        mgr->RenameTrackItem(0, loop, 1, "Loop");
        mgr->RemoveTrackItem(0, loop, 1);
    }
    if (!song->GetItemsInTrack(0).empty())
        mgr->MoveTrackItem(0, song->GetItemsInTrack(0)[0].item, 1, 60);
    song->SortLoopRanges();
    const std::string saved = path + ".out";
    if (mgr->SaveComposition(saved, 0))
        mgr->LoadComposition(saved, 0);
    std::remove(path.c_str());
    std::remove(saved.c_str());
    GetStrokesManager()->Clear();
    return 0;
}
