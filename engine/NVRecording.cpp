#include "engine/NVRecording.h"

#include "engine/AudioRecorder.h"
#include "engine/NVManager.h"
#include "engine/NVActions.h"
#include "engine/NVAudioFileIO.h"
#include "engine/NVLoopContent.h"
#include "engine/NVTimeUnits.h"
#include "model/TWLoopFiles.h"

NVRecording::NVRecording(NVManager& engine, AudioRecorder& audioRecorder)
    : owner(engine), recorder(audioRecorder)
{
}

juce::File NVRecording::getTakeFile() const
{
    return juce::File(owner.getCurrentGroovesTempFolder(false) + juce::File::getSeparatorString() + "audio_input.aif");
}

juce::int64 NVRecording::getRecordingStartTick() const { return owner.getPlayback().getRecordingStartTick(); }
juce::int64 NVRecording::getRecordingStopTick() const { return owner.getPlayback().getRecordingStopTick(); }

void NVRecording::setRecordingAudioTrack(int track)
{
    auto& playback = owner.getPlayback();
    if (track < 0)
    {
        // Disarm first, so the engine's callback cannot start the recorder again.
        playback.setRecordingTrack(-1);
        playback.clearRecorderStart();
        const bool written = recorder.isRecording(); // false when no device ran at arming
        lastTakeLength = recorder.stop();
        if (!written)
            lastTakeLength = 0.0;
        if (lastTakeLength <= 0.0)
            getTakeFile().deleteFile();
        return;
    }

    // The start: the cursor inside a loop, else the sixteenth at or before it.
    const double beats = juce::jmax(0.0, owner.getCurrentPos());
    auto start = (juce::int64) (NVTimeUnits::ticksPerBeat * beats);
    auto* runTrack = owner.getTrack(track);
    if (runTrack == nullptr || runTrack->getLoopAt((int) (4.0 * beats)) == nullptr)
        start = start / NVTimeUnits::ticksPerQuarterBeat * NVTimeUnits::ticksPerQuarterBeat;

    // One level entry per pixel of the arrangement view.
    const double rate = owner.getSampleRate();
    const double tempo = owner.getTempo();
    playback.setSamplesPerLevelEntry((int) (rate / (tempo * owner.getBeatWidth() / 60.0)));
    playback.resetLevelRing();

    const auto take = getTakeFile();
    playback.clearRecorderStart();
    playback.setRecordingTrack(track);
    const auto stop = playback.getRecordingStopTick();
    playback.setRecordingTicks(start, stop);
    owner.setCurrentPos((double) start / NVTimeUnits::ticksPerBeat);

    const int latency = juce::jmax(0, recorder.getDeviceLatency()
                                          + (int) (owner.getSettings().additionalLatency * rate / 1000.0));
    juce::uint64 maxSamples = 0;
    if (stop >= 1)
    {
        const double seconds = juce::jmax(0.0, 60.0 * (double) (stop - start) / (tempo * NVTimeUnits::ticksPerBeat));
        maxSamples = (juce::uint64) (seconds * rate);
    }
    recorder.armRecording(take, latency, maxSamples);
}

juce::int64 NVRecording::getRecordingStartPosition() const
{
    if (owner.getPlayback().getRecordingTrack() < 0)
        return -1;
    return juce::jmax((juce::int64) 0, getRecordingStartTick());
}

int NVRecording::getRecordingStartX() const
{
    const auto start = getRecordingStartPosition();
    return start < 0 ? -1 : (int) owner.getPixelsFromTicks(start);
}

void NVRecording::setLoopRangeStartX(int x)
{
    auto& playback = owner.getPlayback();
    playback.setRecordingTicks(owner.getTicksFromPixels(x), playback.getRecordingStopTick());
}

void NVRecording::setLoopRangeEndX(int x)
{
    auto& playback = owner.getPlayback();
    playback.setRecordingTicks(playback.getRecordingStartTick(), owner.getTicksFromPixels(x));
}

int NVRecording::getLoopRangeStartX() const
{
    return (int) juce::jmax((juce::int64) 0, owner.getPixelsFromTicks(getRecordingStartTick()));
}

int NVRecording::getLoopRangeEndX() const
{
    return (int) owner.getPixelsFromTicks(getRecordingStopTick());
}

bool NVRecording::stopRecording()
{
    const int track = owner.getPlayback().getRecordingTrack();
    owner.setPlaybackMode(kStopped);
    if (track < 0)
        return false;
    setRecordingAudioTrack(-1);
    return saveAudioRecording(track, false);
}

bool NVRecording::saveAudioRecording(int trackIndex, bool ask)
{
    auto* song = owner.getCurrentSong();
    auto* track = owner.getTrack(trackIndex);
    const auto take = getTakeFile();
    if (song == nullptr || track == nullptr || !take.existsAsFile())
        return false;
    if (ask)
    {
        const int answer = owner.getDialogHost().showMessageBox(NVDialogHost::Icon::info, "Save recording",
                                                                "Do you wish to save the previous recording?",
                                                                { "Yes", "No", "Cancel" });
        if (answer != 0)
            return false;
    }

    const auto startTick = getRecordingStartTick();
    const int f = (int) (startTick / NVTimeUnits::ticksPerQuarterBeat);
    auto& content = owner.getLoopContent();
    const int g = f + content.getSignaturesEstimate(take.getFullPathName());
    int first = -1, last = -1;
    song->getLoopsInBounds(trackIndex, f, g, first, last);

    bool kept = false;
    if (first < 0)
    {
        const int x = (int) (startTick * owner.getBeatWidth() / NVTimeUnits::ticksPerBeat);
        kept = owner.dragFileToTrack(trackIndex, x, take.getFullPathName(), "New recording", 0, true, false);
    }
    else
    {
        kept = recordOver(trackIndex, first, last, f, g);
        owner.refreshMIDIEvents();
    }
    take.deleteFile();
    return kept;
}

bool NVRecording::recordOver(int trackIndex, int first, int last, int f, int g)
{
    auto* track = owner.getTrack(trackIndex);
    auto& content = owner.getLoopContent();
    const auto take = getTakeFile();
    const auto startTick = getRecordingStartTick();
    const double rate = owner.getSampleRate();
    const double quarterBeatsPerSecond = owner.getTempo() * 4.0 / 60.0;

    juce::String result = take.getFullPathName();
    juce::String name = "New recording";
    int start = f;
    double resultStartSeconds = (double) startTick / NVTimeUnits::ticksPerBeat * 60.0 / owner.getTempo();

    // Punched in: the first loop up to the take, the take from there on.
    const auto* firstLoop = track->getLoop(first);
    if (firstLoop->start <= f && f < firstLoop->end)
    {
        const auto offsetTicks = juce::jmax((juce::int64) 0, startTick - (juce::int64) firstLoop->start * NVTimeUnits::ticksPerQuarterBeat);
        const auto merged = owner.mergeAudioFile(content.getLoopFilePath(trackIndex, first), result,
                                                 owner.getSamplesFromTicks(offsetTicks), false);
        if (merged.isEmpty())
            return false;
        result = merged;
        name = firstLoop->name;
        start = firstLoop->start;
        // The result begins where the first loop does.
        resultStartSeconds = firstLoop->start / quarterBeatsPerSecond;
    }

    // Punched out inside the last loop: the rest of that loop follows the result.
    const auto* lastLoop = track->getLoop(last);
    if ((last != first || f < lastLoop->start) && lastLoop->start < g && g < lastLoop->end)
    {
        double resultSeconds = 0.0;
        if (auto reader = NVAudioFileIO::openLoopFile(juce::File(result)); reader != nullptr && rate > 0.0)
            resultSeconds = (double) reader->lengthInSamples / rate;
        const double t = resultSeconds + resultStartSeconds - lastLoop->start / quarterBeatsPerSecond;
        if (t > 0.0)
        {
            const auto merged = owner.mergeAudioFile(result, content.getLoopFilePath(trackIndex, last),
                                                     (juce::int64) (t * rate), true);
            if (merged.isEmpty())
                return false;
            result = merged;
        }
    }

    juce::String fileName;
    if (result == take.getFullPathName())
        fileName = juce::String::fromUTF8(TWLoopFiles::dragBinaryFileCopy(
            take.getFullPathName().toStdString(), owner.getCurrentGroovesTempFolder(false).toStdString()).c_str());
    else
        fileName = juce::File(result).getFileName();
    if (fileName.isEmpty())
        return false;
    const int length = content.getSignaturesEstimate(juce::File(owner.getCurrentGroovesTempFolder(false)).getChildFile(fileName).getFullPathName());

    auto& undo = owner.getUndoManager();
    undo.beginNewTransaction();
    for (int i = first; i <= last; ++i)
        undo.perform(new DeleteLoopAction(owner, trackIndex, first));
    return undo.perform(new AddLoopAction(owner, trackIndex, start, length, fileName, name));
}
