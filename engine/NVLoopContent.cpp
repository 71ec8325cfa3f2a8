#include "engine/NVLoopContent.h"

#include "engine/NVActions.h"
#include "engine/NVAudioFileIO.h"
#include "engine/NVAudioTrack.h"
#include "engine/NVLoopEditorHost.h"
#include "engine/NVManager.h"
#include "engine/NVMidiFiles.h"
#include "model/TWLoopFiles.h"
#include "model/TWRhythmicSequence.h"

namespace
{
    std::string toPath(const juce::String& s) { return s.toStdString(); }
    juce::String fromPath(const std::string& s) { return juce::String::fromUTF8(s.c_str()); }
}

std::unique_ptr<juce::AudioFormatReader> NVLoopContent::openAudioFile(const juce::File& file)
{
    return NVAudioFileIO::openLoopFile(file);
}

juce::int64 NVLoopContent::getFileNumSamples(const juce::File& file)
{
    auto reader = openAudioFile(file);
    return reader != nullptr ? reader->lengthInSamples : 0;
}

int NVLoopContent::getSignaturesEstimate(const juce::String& path) const
{
    const juce::File file(path);
    if (!file.existsAsFile())
        return 4;
    double quarterBeats = 0.0;
    if (path.endsWithIgnoreCase(".mid"))
    {
        quarterBeats = 4.0 * NVMidiFiles::getNumBeats(file);
    }
    else if (auto reader = openAudioFile(file))
    {
        // Audio plays at the device's rate; without a device, at the file's own.
        const double rate = owner.getSampleRate() > 0.0 ? owner.getSampleRate() : reader->sampleRate;
        if (rate > 0.0)
            quarterBeats = 4.0 * owner.getTempo() * (double) reader->lengthInSamples / (60.0 * rate);
    }
    const int estimate = (int) quarterBeats;
    return estimate <= 3 ? 4 : estimate;
}

juce::String NVLoopContent::getLoopFilePath(int track, int loop) const
{
    auto* song = owner.getCurrentSong();
    auto* l = song != nullptr ? song->GetLoop(track, loop) : nullptr;
    if (l == nullptr || l->sequence == nullptr)
        return {};
    return fromPath(l->sequence->GetUnderlyingPath());
}

juce::String NVLoopContent::getLoopPlayingPath(int track, int loop) const
{
    const auto own = getLoopFilePath(track, loop);
    return own.isEmpty() ? own : fromPath(TWLoopFiles::getUnderlyingFilePath(toPath(own)));
}

// Quantization ---------------------------------------------------------------------------------

bool NVLoopContent::quantizeLoop(int track, int loop)
{
    auto* song = owner.getCurrentSong();
    auto* l = song != nullptr ? song->GetLoop(track, loop) : nullptr;
    const auto own = getLoopFilePath(track, loop);
    juce::MidiFile midi;
    if (l == nullptr || own.isEmpty() || !NVMidiFiles::read(juce::File(own), midi) || midi.getNumTracks() < 1)
        return false;
    const auto& events = *midi.getTrack(0);
    const auto fileLength = (juce::int64) events.getEndTime();
    const auto quantized = NVMidiFiles::quantizeSequence(events, (juce::int64) l->start * 120,
                                                         (juce::int64) (l->end - l->start) * 120, fileLength,
                                                         owner.getQuantizeGrid());
    const juce::File twin(fromPath(TWLoopFiles::getQuantizedFilePath(toPath(own))));
    twin.deleteFile();
    if (!NVMidiFiles::writeSingleTrack(twin, quantized, NVMidiFiles::divisionOf(midi)))
        return false;
    owner.setSongModified(true);
    return true;
}

bool NVLoopContent::unquantizeLoop(int track, int loop)
{
    const auto own = getLoopFilePath(track, loop);
    if (own.isEmpty())
        return false;
    const auto twin = fromPath(TWLoopFiles::getQuantizedFilePath(toPath(own)));
    if (twin.isNotEmpty() && twin != own)
        juce::File(twin).deleteFile();
    owner.setSongModified(true);
    return true;
}

bool NVLoopContent::applyQuantization(int track, int loop)
{
    const auto own = getLoopFilePath(track, loop);
    if (own.isEmpty())
        return false;
    const juce::File twin(fromPath(TWLoopFiles::getQuantizedFilePath(toPath(own))));
    bool done = true;
    if (twin.existsAsFile())
    {
        juce::File(own).deleteFile();
        done = twin.moveFileTo(juce::File(own));
    }
    owner.setSongModified(true);
    return done;
}

bool NVLoopContent::isLoopQuantized(int track, int loop) const
{
    const auto own = getLoopFilePath(track, loop);
    return own.isNotEmpty() && juce::File(fromPath(TWLoopFiles::getQuantizedFilePath(toPath(own)))).existsAsFile();
}

// Editing ----------------------------------------------------------------------------------------

bool NVLoopContent::startExternalTool(const juce::String& tool, const juce::String& path,
                                      const juce::String& missingText)
{
    if (!juce::File(tool).existsAsFile())
    {
        owner.getDialogHost().showMessageBox(NVDialogHost::Icon::warning, "Tool not found", missingText, { "OK" });
        return false;
    }
    for (int i = tools.size(); --i >= 0;)
        if (!tools[i]->isRunning())
            tools.remove(i);
    auto process = std::make_unique<juce::ChildProcess>();
    // The path goes to the tool as one argument, as a quoted path does on a command line.
    if (!process->start(juce::StringArray { tool, path }, 0))
        return false;
    tools.add(process.release());
    return true;
}

bool NVLoopContent::editLoop(int trackIndex, int loop)
{
    owner.setPlaybackMode(kStopped);
    auto* track = owner.getTrack(trackIndex);
    auto* l = owner.getCurrentSong() != nullptr ? owner.getCurrentSong()->GetLoop(trackIndex, loop) : nullptr;
    if (track == nullptr)
        return false;
    const auto path = getLoopPlayingPath(trackIndex, loop);
    owner.setSongModified(true);
    const auto instrumentName = track->getInstrument() != nullptr ? track->getInstrument()->name : juce::String();
    const auto loopName = l != nullptr ? l->name : juce::String();
    const int start = l != nullptr ? l->start : 0;
    const int end = l != nullptr ? l->end : 0;

    if (auto* audio = dynamic_cast<NVAudioTrack*>(track))
    {
        const auto& tool = owner.getSettings().extAudioTool;
        if (tool.isNotEmpty())
            return startExternalTool(tool, path, "You have defined an external Audio editor that was not found.");
        auto samples = audio->getSamples(loop);
        if (samples != nullptr && samples->getNumSamples() > 0 && editorHost != nullptr)
            editorHost->editAudioLoop("Audio Editor - " + loopName + " (" + instrumentName + ")", trackIndex, loop,
                                      start, end, *samples);
        return false;
    }

    const auto& tool = owner.getSettings().extMIDITool;
    if (tool.isNotEmpty())
        return startExternalTool(tool, path, "You have defined an external MIDI editor that was not found.");
    if (editorHost == nullptr)
        return false;
    juce::MidiFile midi;
    NVMidiFiles::read(juce::File(path), midi); // an unreadable file is edited as an empty one
    const juce::MidiMessageSequence empty;
    const auto& events = midi.getNumTracks() > 0 ? *midi.getTrack(0) : empty;

    auto& audition = owner.getAuditionTrack();
    audition.setPlugin(track->getPlugin(), owner.getSampleRate(), owner.getBlockSize()); // lent, not given
    editorHost->editMidiLoop("Loop Editor - " + loopName + " (" + instrumentName + ")", trackIndex, loop, start, end,
                             events, NVMidiFiles::divisionOf(midi));
    audition.setPlugin(nullptr, 0.0, 0);
    return true;
}

int NVLoopContent::askUpdateAll(int trackIndex, int loop)
{
    auto* track = owner.getTrack(trackIndex);
    std::vector<std::string> paths;
    for (int i = 0; i < track->getNumLoops(); ++i)
        paths.push_back(toPath(getLoopPlayingPath(trackIndex, i)));
    if (TWLoopFiles::hasUniqueBinary(paths, loop, toPath(getLoopPlayingPath(trackIndex, loop))))
        return 0;
    const int answer = owner.getDialogHost().showMessageBox(
        NVDialogHost::Icon::info, "Multiple instances",
        "This loop is shared by other instances on the track. Press Yes to update all other copies, No to update "
        "only this instance, Cancel to discard your changes.",
        { "Yes", "No", "Cancel" });
    return answer == 0 ? 1 : (answer == 1 ? 0 : -1);
}

bool NVLoopContent::replaceLoopFile(int track, int loop, const juce::String& fileName, bool updateAll)
{
    auto& undo = owner.getUndoManager();
    undo.beginNewTransaction();
    const bool done = undo.perform(new ReplaceUnderlyingAction(owner, track, loop, fileName, updateAll));
    owner.refreshMIDIEvents();
    return done;
}

bool NVLoopContent::setLoopEvents(int track, int loop, const juce::MidiMessageSequence& events, int ticksPerQuarterNote)
{
    if (owner.getCurrentSong() == nullptr || owner.getCurrentSong()->GetLoop(track, loop) == nullptr)
        return false;
    const int updateAll = askUpdateAll(track, loop);
    if (updateAll < 0)
        return false;
    const auto folder = owner.getCurrentGroovesTempFolder(false);
    const auto name = fromPath(TWLoopFiles::getNextAvailableBinaryName(toPath(folder), ".mid"));
    if (!NVMidiFiles::writeSingleTrack(juce::File(folder).getChildFile(name), events, ticksPerQuarterNote))
        return false;
    return replaceLoopFile(track, loop, name, updateAll == 1);
}

bool NVLoopContent::setLoopBuffer(int track, int loop, const juce::AudioBuffer<float>& buffer)
{
    if (owner.getCurrentSong() == nullptr || owner.getCurrentSong()->GetLoop(track, loop) == nullptr
        || buffer.getNumChannels() < 1)
        return false;
    const int updateAll = askUpdateAll(track, loop);
    if (updateAll < 0)
        return false;
    const auto folder = owner.getCurrentGroovesTempFolder(false);
    const auto name = fromPath(TWLoopFiles::getNextAvailableBinaryName(toPath(folder), ".aif"));
    const auto file = juce::File(folder).getChildFile(name);

    double rate = owner.getSampleRate();
    if (rate <= 0.0) // no device: keep the rate of the file being replaced
        if (auto reader = openAudioFile(juce::File(getLoopPlayingPath(track, loop))))
            rate = reader->sampleRate;
    juce::AiffAudioFormat aiff;
    if (!NVAudioFileIO::writeWhole(file, aiff, buffer, rate > 0.0 ? rate : 44100.0))
        return false;
    return replaceLoopFile(track, loop, name, updateAll == 1);
}
