#include "engine/NVRecording.h"

#include "engine/AudioRecorder.h"
#include "engine/NVManager.h"
#include "engine/NVTimeUnits.h"

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
