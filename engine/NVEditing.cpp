#include "engine/NVEditing.h"

#include "engine/NVActions.h"
#include "engine/NVLoopContent.h"
#include "engine/NVManager.h"
#include "engine/NVMidiFiles.h"
#include "model/TWLoopFiles.h"

namespace
{
    bool isMidiName(const juce::String& path) { return path.endsWithIgnoreCase(".mid"); }

    // A header that promises more sample data than the file holds is a cut-off file.
    bool holdsItsSamples(const juce::AudioFormatReader& reader, const juce::File& file)
    {
        const auto bytes = reader.lengthInSamples * (juce::int64) reader.numChannels * (juce::int64) (reader.bitsPerSample / 8);
        return reader.lengthInSamples > 0 && bytes <= file.getSize();
    }
}

bool NVEditing::canDragToTrack(int trackIndex, int, const juce::String& path) const
{
    auto* track = owner.getTrack(trackIndex);
    const juce::File file(path);
    if (track == nullptr || !file.existsAsFile() || !TWLoopFiles::allowFileType(file.getFileExtension().toStdString()))
        return false;
    if (isMidiName(path))
    {
        // Only a file that really is MIDI: an empty or broken one would give a silent loop.
        juce::MidiFile midi;
        return !track->isAudioTrack() && NVMidiFiles::read(file, midi) && midi.getNumTracks() > 0;
    }
    if (!track->isAudioTrack())
        return false;
    auto reader = NVLoopContent::openAudioFile(file);
    return reader != nullptr && reader->numChannels <= 2 && reader->sampleRate == owner.getSampleRate()
           && holdsItsSamples(*reader, file);
}

NVEditing::Fit NVEditing::askForSpace()
{
    const int answer = owner.getDialogHost().showMessageBox(
        NVDialogHost::Icon::warning, "Insufficient space",
        "There isn't sufficient free space for inserting your loop(s). Press Resize for fitting the loop in the "
        "available space, Shift for pushing the other loops to the right and Cancel to abort.",
        { "Resize", "Shift", "Cancel" });
    return answer == 0 ? Fit::resize : (answer == 1 ? Fit::shift : Fit::cancel);
}

bool NVEditing::dragFileToTrack(int trackIndex, int x, const juce::String& path, const juce::String& name, int length,
                                bool refresh, bool findFreePlace)
{
    owner.setPlaybackMode(kStopped);
    if (!canDragToTrack(trackIndex, x, path))
        return false;
    auto* song = owner.getCurrentSong();
    auto* track = owner.getTrack(trackIndex);
    if (length <= 0)
        length = owner.getLoopContent().getSignaturesEstimate(path);

    const int beatWidth = juce::jmax(1, owner.getBeatWidth());
    int start = x * 4 / beatWidth;
    int first = -1, last = -1;
    song->getLoopsInBounds(trackIndex, start, start + length, first, last);
    int shiftBy = 0;
    if (first >= 0)
    {
        if (findFreePlace)
        {
            start = track->getNextFreeSignature(start, length);
        }
        else
        {
            const int firstStart = track->getLoop(first)->start;
            if (firstStart <= start)
                return false; // a file cannot be dropped onto a loop
            const auto fit = askForSpace();
            if (fit == Fit::cancel)
                return false;
            const int overlap = start + length - firstStart;
            if (fit == Fit::resize)
                length -= overlap;
            else
                shiftBy = overlap;
        }
    }

    const auto folder = owner.getCurrentGroovesTempFolder(false).toStdString();
    const auto copy = TWLoopFiles::dragBinaryFileCopy(path.toStdString(), folder);
    if (copy.empty())
        return false;
    if (!track->isAudioTrack())
    {
        const juce::File twin(juce::String::fromUTF8(TWLoopFiles::getQuantizedFilePath(path.toStdString()).c_str()));
        if (twin.existsAsFile())
        {
            const juce::File copyTwin(juce::String::fromUTF8(
                TWLoopFiles::getQuantizedFilePath(folder + "/" + copy).c_str()));
            copyTwin.deleteFile();
            twin.copyFileTo(copyTwin);
        }
    }

    auto& undo = owner.getUndoManager();
    undo.beginNewTransaction();
    if (shiftBy > 0)
    {
        const float width = owner.getSignatureWidth();
        for (int i = track->getNumLoops() - 1; i >= first; --i)
            undo.perform(new MoveLoopAction(owner, trackIndex, i, (int) ((track->getLoop(i)->start + shiftBy) * width)));
    }
    const bool added = undo.perform(new AddLoopAction(owner, trackIndex, start, length,
                                                      juce::String::fromUTF8(copy.c_str()), name));
    if (refresh)
        owner.refreshMIDIEvents();
    return added;
}

void NVEditing::moveLoop(int track, int loop, int x)
{
    owner.setPlaybackMode(kStopped);
    auto& undo = owner.getUndoManager();
    undo.beginNewTransaction();
    undo.perform(new MoveLoopAction(owner, track, loop, x));
    owner.refreshMIDIEvents();
}

void NVEditing::resizeLoop(int trackIndex, int loop, int width, bool keepContent)
{
    owner.setPlaybackMode(kStopped);
    auto* song = owner.getCurrentSong();
    auto* l = song != nullptr ? song->GetLoop(trackIndex, loop) : nullptr;
    if (l == nullptr)
        return;
    const int oldLength = l->end - l->start;
    const auto ownPath = owner.getLoopContent().getLoopFilePath(trackIndex, loop);

    auto& undo = owner.getUndoManager();
    undo.beginNewTransaction();
    undo.perform(new ResizeLoopAction(owner, trackIndex, loop, width));

    auto* track = owner.getTrack(trackIndex);
    if (!track->isAudioTrack() && !keepContent && ownPath.isNotEmpty())
    {
        const auto copy = TWLoopFiles::dragBinaryFileCopy(ownPath.toStdString(),
                                                          owner.getCurrentGroovesTempFolder(false).toStdString());
        if (!copy.empty())
        {
            const auto copyName = juce::String::fromUTF8(copy.c_str());
            const int newLength = song->GetLoop(trackIndex, loop)->end - song->GetLoop(trackIndex, loop)->start;
            if (newLength != oldLength && oldLength > 0)
                NVMidiFiles::expandMidiFile(juce::File(owner.getCurrentGroovesTempFolder(false)).getChildFile(copyName),
                                            (double) newLength / oldLength);
            undo.perform(new ReplaceUnderlyingAction(owner, trackIndex, loop, copyName, false));
        }
    }
    owner.refreshMIDIEvents();
}

void NVEditing::deleteLoop(int track, int loop)
{
    if (track == 0)
        return;
    owner.setPlaybackMode(kStopped);
    auto* song = owner.getCurrentSong();
    if (song == nullptr || song->GetLoop(track, loop) == nullptr)
        return;
    auto& undo = owner.getUndoManager();
    undo.beginNewTransaction();
    undo.perform(new DeleteLoopAction(owner, track, loop));
    owner.refreshMIDIEvents();
}

void NVEditing::deleteSelectedLoops()
{
    // Highest codes first: deleting a loop renumbers only the loops after it.
    auto codes = owner.getSelection().getSelectedLoops();
    codes.sort();
    for (int i = codes.size(); --i >= 0;)
        deleteLoop(codes[i] / NVSelection::trackFactor, codes[i] % NVSelection::trackFactor);
    owner.getSelection().clearLoops();
}

void NVEditing::renameLoop(int track, int loop, const juce::String& name)
{
    auto& undo = owner.getUndoManager();
    undo.beginNewTransaction();
    undo.perform(new RenameLoopAction(owner, track, loop, name));
}

int NVEditing::appendTrack(const juce::String& instrumentName)
{
    owner.setPlaybackMode(kStopped);
    auto& undo = owner.getUndoManager();
    undo.beginNewTransaction();
    auto* action = new AppendTrackAction(owner, instrumentName);
    // The action is deleted by the undo manager when performing fails.
    int index = -1;
    if (undo.perform(action))
        index = action->getTrack();
    return index;
}
