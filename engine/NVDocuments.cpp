#include "engine/NVDocuments.h"

#include "engine/NVManager.h"
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
        owner.songFilePath.clear();

        // An empty song: 120 beats per minute, 4 beats per bar, volume 0.9.
        song = std::make_unique<NVSong>(0.9f, owner.songFilePath, 0.0f, 120, 4);
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
