#include "engine/NVDocuments.h"

#include "engine/NVManager.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWLoopFiles.h"
#include "model/TWRhythmicSequence.h"
#include "model/TWSettings.h"

namespace
{
    const char* const kCompositionFile = "Main.nvc";
    const char* const kInfoFile = "SongInfo.nvc";

    juce::String toText(const RWCString& s)
    {
        return juce::String::fromUTF8(s.data(), (int) s.length());
    }

    // A path as juce::File spells it, without doubled separators.
    juce::String normalisedPath(juce::String path)
    {
        while (path.contains("//"))
            path = path.replace("//", "/");
        return juce::File(path).getFullPathName();
    }

    bool isUncompressedAudio(const juce::File& file)
    {
        const auto name = file.getFileName();
        return name.endsWithIgnoreCase(".wav") || name.endsWithIgnoreCase(".aif");
    }
}

double NVDocuments::getFileSampleRate() const
{
    return owner.getSampleRate() > 0.0 ? owner.getSampleRate() : 44100.0;
}

bool NVDocuments::optionallySaveSong()
{
    if (!owner.isSongModified())
        return true;
    const int answer = owner.getDialogHost().showMessageBox(
        NVDialogHost::Icon::warning, "Song was modified",
        "The current song was modified. Do you wish to save changes?", { "Yes", "No", "Cancel" });
    if (answer != 0 && answer != 1)
        return false; // Cancel, or the box was dismissed
    // A save that fails or is cancelled keeps the song: it must not be discarded unsaved.
    if (answer == 0 && !saveCurrentSong(false, false))
        return false;
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
        songName.clear();

        auto* composition = GetCompositionsMgr()->GetComposition(0);
        if (composition == nullptr)
            return nullptr;
        song = std::make_unique<NVSong>(composition->GetVolume(), songName, composition->GetPitch(),
                                        (int) composition->GetTempo().toDouble(),
                                        (int) composition->GetBarSize().toDouble());
        owner.setCurrentSong(std::move(song));
        owner.reinitVariables();
    }
    owner.setSongModified(false);
    return owner.getCurrentSong();
}

juce::StringArray NVDocuments::referencedFiles() const
{
    juce::StringArray paths;
    auto add = [&paths](const TWRhythmicSequence* loop)
    {
        if (loop == nullptr)
            return;
        const auto path = loop->GetUnderlyingPath();
        if (path.empty())
            return;
        paths.addIfNotAlreadyThere(normalisedPath(juce::String::fromUTF8(path.c_str())), true);
        const auto twin = TWLoopFiles::getQuantizedFilePath(path);
        if (!twin.empty())
            paths.addIfNotAlreadyThere(normalisedPath(juce::String::fromUTF8(twin.c_str())), true);
    };

    // The loops of the song's tracks, and of the composition being saved with it.
    if (auto* song = owner.getCurrentSong())
        for (auto* track : song->getTracks())
            for (int i = 0; i < track->getNumLoops(); ++i)
                add(track->getLoop(i)->sequence);
    if (auto* composition = GetCompositionsMgr()->GetComposition(0))
        for (int t = 0; t < (int) composition->GetTrackCount(); ++t)
            for (const auto& item : composition->GetItemsInTrack(t))
                add(item.item);
    return paths;
}

bool NVDocuments::isArchived(const juce::File& file, const juce::StringArray& referenced)
{
    return file.getFileName().endsWithIgnoreCase(".nvc")
           || referenced.contains(file.getFullPathName(), true);
}

bool NVDocuments::saveCurrentSong(bool saveAs, bool compressed)
{
    auto* song = owner.getCurrentSong();
    auto& dialogs = owner.getDialogHost();
    if (song == nullptr)
        return false;

    const juce::File songsFolder(owner.getCurrentGroovesFolder());
    juce::String name = songName;
    juce::File target = songsFolder.getChildFile(name + archiveExtension);
    if (saveAs || name.isEmpty())
    {
        const auto chosen = dialogs.chooseFile(true, "Choose a file to save...", songsFolder,
                                               juce::String("*") + archiveExtension);
        if (chosen == juce::File())
            return false;
        target = chosen.getFileName().endsWith(archiveExtension)
                     ? chosen
                     : juce::File(chosen.getFullPathName() + archiveExtension);
        // The name the archive opens with again, so that a later plain Save writes the same file.
        name = target.getFileNameWithoutExtension();
    }

    const juce::File temp(owner.getCurrentGroovesTempFolder(false));
    owner.saveEffectsState();
    if (!song->saveInfo(temp.getChildFile(kInfoFile).getFullPathName())
        || !GetCompositionsMgr()->SaveComposition(temp.getChildFile(kCompositionFile).getFullPathName().toStdString()))
    {
        dialogs.showMessageBox(NVDialogHost::Icon::warning, "Song not saved",
                               "The song could not be written to the temp folder.", { "OK" });
        return false;
    }
    const auto referenced = referencedFiles();

    dialogs.showProgress("Saving song...", "Saving song " + name + "...");
    dialogs.letInterfaceRun(300);

    auto files = temp.findChildFiles(juce::File::findFiles, false);
    std::sort(files.begin(), files.end(),
              [](const juce::File& a, const juce::File& b) { return a.getFileName() < b.getFileName(); });
    const double rate = getFileSampleRate();
    juce::Array<NVSongArchive::Entry> entries;
    for (int number = 0; number < files.size(); ++number)
    {
        const auto& file = files.getReference(number);
        if (!isArchived(file, referenced))
            continue;
        const double fraction = (number + 1) / (double) files.size();
        if (compressed && isUncompressedAudio(file))
        {
            dialogs.setProgress("Compressing file # " + juce::String(number), fraction);
            dialogs.letInterfaceRun(100);
            const auto ogg = file.getSiblingFile(file.getFileName() + ".ogg");
            // Audio that can't be converted is kept as it is rather than lost.
            if (NVSongArchive::compressToOgg(file, ogg, rate))
            {
                entries.add({ ogg, ogg.getFileName() });
                continue;
            }
        }
        else
        {
            dialogs.setProgress("Processing file # " + juce::String(number), fraction);
            dialogs.letInterfaceRun(100);
        }
        entries.add({ file, file.getFileName() });
    }
    dialogs.setProgress("Saving complete", 1.0);
    dialogs.letInterfaceRun(100);

    juce::String error;
    const bool written = archive.write(entries, target, error);
    dialogs.hideProgress();
    if (!written)
    {
        dialogs.showMessageBox(NVDialogHost::Icon::warning, "Song not saved",
                               "The song could not be saved to " + target.getFullPathName() + " (" + error + ").",
                               { "OK" });
        return false;
    }

    owner.getUndoManager().clearUndoHistory();
    owner.setSongModified(false);
    owner.songFilePath = target.getFullPathName();
    songName = name;
    song->setName(name);
    return true;
}

NVSong* NVDocuments::songNotFound()
{
    owner.getDialogHost().showMessageBox(NVDialogHost::Icon::warning, "Song not found",
                                         "The song you tried to open wasn't found.", { "OK" });
    owner.setSongModified(false);
    return newSong();
}

NVSong* NVDocuments::loadSong(const juce::String& path)
{
    auto& dialogs = owner.getDialogHost();
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile(path);
    const juce::File temp(owner.getCurrentGroovesTempFolder(false));
    const auto name = file.getFileNameWithoutExtension();
    songName = name;

    dialogs.showProgress("Loading song...", "Loading song " + name + "...");
    dialogs.letInterfaceRun(300);

    const auto unpacked = NVSongArchive::unpack(file, temp);
    for (const auto& ogg : temp.findChildFiles(juce::File::findFiles, false, "*"))
        if (ogg.getFileName().endsWithIgnoreCase(".ogg"))
            NVSongArchive::decodeOgg(ogg, getFileSampleRate()); // one that can't be decoded stays as it is
    owner.getUndoManager().clearUndoHistory();

    // An archive that could not be unpacked in full, or holds no readable
    // composition, opens nothing: what was unpacked goes with the new song.
    const auto compositionFile = temp.getChildFile(kCompositionFile);
    if (unpacked.error.isNotEmpty() || !compositionFile.existsAsFile())
    {
        dialogs.hideProgress();
        return songNotFound();
    }

    GetSettings()->SetAlternateChannels(false);
    GetSettings()->SetMIDIHeader(false);
    dialogs.setProgress("Initializing...", 0.1);
    dialogs.letInterfaceRun(100);

    TWComposition* composition = nullptr;
    {
        const juce::ScopedLock sl(owner.getSongLock());
        owner.setCurrentSong(nullptr); // its loops point into the composition about to go
        const bool read = GetCompositionsMgr()->LoadComposition(compositionFile.getFullPathName().toStdString());
        owner.songFilePath = file.getFullPathName();
        owner.reinitVariables();
        composition = read ? GetCompositionsMgr()->GetComposition(0) : nullptr;
    }
    if (composition == nullptr)
    {
        // Opening a damaged composition as an empty song under the archive's
        // name would let a plain Save overwrite the archive with nothing.
        dialogs.hideProgress();
        return songNotFound();
    }
    composition->SortLoopRanges();
    auto created = std::make_unique<NVSong>(composition->GetVolume(), name, composition->GetPitch(),
                                            (int) composition->GetTempo().toDouble(),
                                            (int) composition->GetBarSize().toDouble());
    created->setStyle(toText(composition->GetStyle()));
    auto* song = created.get();
    owner.setCurrentSong(std::move(created));

    const int trackCount = (int) composition->GetTrackCount();
    for (int k = 0; k < trackCount; ++k)
    {
        dialogs.setProgress("Refreshing track #" + juce::String(k + 1), 0.2 + 0.8 * k / trackCount);
        dialogs.letInterfaceRun(100);
        auto* stored = composition->GetTrack(k);
        owner.loadTrack(*song, stored != nullptr ? toText(stored->GetPatchName()) : juce::String(), stored, k);
        owner.refreshTrackLoops(k);
    }

    dialogs.setProgress("Finalizing...", -1.0);
    dialogs.letInterfaceRun(100);
    owner.refreshTrackEvents(0);
    owner.refreshMIDIEvents();

    dialogs.setProgress("Loading complete", 1.0);
    dialogs.letInterfaceRun(100);
    if (owner.getSampleRate() > 0.0)
        song->prepareToPlay(owner.getSampleRate(), owner.getBlockSize());

    owner.setSongModified(false);
    // "Lyrics.nvc" stays in the temp folder as it came and is archived again on save.
    song->restoreInfo(temp.getChildFile(kInfoFile).getFullPathName());
    dialogs.hideProgress();
    return song;
}

bool NVDocuments::newSoundtrackSong(const juce::String& chosen)
{
    const juce::File chosenFile(chosen);
    const auto name = chosenFile.getFileNameWithoutExtension();
    auto path = chosen;
    if (path.endsWithIgnoreCase(".mp3"))
    {
        path = owner.uncompressMP3(path);
        if (path.isEmpty())
        {
            owner.getDialogHost().showMessageBox(NVDialogHost::Icon::warning, "Conversion error",
                                                 "Couldn't read the MP3 file", { "OK" });
            return false;
        }
    }
    if (!optionallySaveSong())
        return false;

    owner.lockProcess();
    bool dropped = false;
    if (newSong() != nullptr && owner.appendTrack("Audio") == 0 && owner.appendTrack("Audio") == 1)
    {
        owner.setTrackCaption(0, "SOUNDTRACK");
        owner.setTrackCaption(1, "YOUR VOICE");
        owner.getSelection().selectTrackOnly(0);
        dropped = owner.dragFileToTrack(0, 0, path, name, 0, true, true);
        owner.refreshTrackEvents(0);
    }
    owner.unlockProcess();
    return dropped;
}
