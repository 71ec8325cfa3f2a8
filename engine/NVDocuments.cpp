#include "engine/NVDocuments.h"

#include "engine/NVManager.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWSettings.h"

bool NVDocuments::optionallySaveSong()
{
    if (!owner.isSongModified())
        return true;
    const int answer = owner.getDialogHost().showMessageBox(
        NVDialogHost::Icon::warning, "Song was modified",
        "The current song was modified. Do you wish to save changes?", { "Yes", "No", "Cancel" });
    if (answer != 0 && answer != 1)
        return false; // Cancel, or the box was dismissed
    if (answer == 0)
        saveCurrentSong(false, false);
    owner.setSongModified(false);
    return true;
}

NVSong* NVDocuments::newSong()
{
    if (!optionallySaveSong())
        return owner.getCurrentSong();

    owner.getUndoManager().clearUndoHistory();

    std::unique_ptr<NVSong> song;
    {
        const juce::ScopedLock sl(owner.getSongLock());
        owner.setCurrentSong(nullptr);
        owner.getCurrentGroovesTempFolder(true);
        GetSettings()->SetAlternateChannels(false);
        GetSettings()->SetMIDIHeader(false);
        GetCompositionsMgr()->ClearComposition(0);
        owner.songFilePath.clear();

        auto* composition = GetCompositionsMgr()->GetComposition(0);
        if (composition == nullptr)
            return nullptr;
        song = std::make_unique<NVSong>(composition->GetVolume(), owner.songFilePath, composition->GetPitch(),
                                        (int) composition->GetTempo().toDouble(),
                                        (int) composition->GetBarSize().toDouble());
        owner.setCurrentSong(std::move(song));
        owner.reinitVariables();
    }
    owner.setSongModified(false);
    return owner.getCurrentSong();
}

bool NVDocuments::saveCurrentSong(bool, bool)
{
    return false;
}
