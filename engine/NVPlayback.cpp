#include "engine/NVPlayback.h"

#include "engine/NVPlayHead.h"
#include "engine/NVSong.h"

#include <cmath>

void NVPlayback::prepare(double newSampleRate, int newBlockSize)
{
    sampleRate = newSampleRate;
    blockSize = newBlockSize;
}

void NVPlayback::setPosition(juce::uint64 samples, juce::int64 tick, double beats)
{
    playPosition = samples;
    lastTick = tick;
    positionInBeats = beats;
}

void NVPlayback::setMode(TLPlaybackMode newMode, NVSong* song)
{
    mode = newMode;
    if (newMode == kStopped && song != nullptr)
        song->resetSoundEngines();
}

void NVPlayback::resetLevelRing()
{
    levelRing.fill(0.0f);
    levelIndex = 0;
    countdown = samplesPerEntry;
    levelSum = 0.0f;
}

void NVPlayback::feedLevelRing(const juce::AudioBuffer<float>& input)
{
    const int channels = input.getNumChannels();
    for (int i = 0; i < input.getNumSamples(); ++i)
    {
        for (int c = 0; c < channels; ++c)
            levelSum += std::abs(input.getSample(c, i));
        if (--countdown <= 0)
        {
            const int index = levelIndex.load();
            levelRing[(size_t) index] = levelSum / (float) samplesPerEntry;
            levelIndex = (index + 1) % levelRingSize;
            countdown = samplesPerEntry;
            levelSum = 0.0f;
        }
    }
}

void NVPlayback::renderAudition(juce::AudioBuffer<float>& out)
{
    auto* track = auditionTrack;
    if (track == nullptr || track->getPlugin() == nullptr || sampleRate <= 0.0)
        return;
    const int n = out.getNumSamples();
    const double tempo = auditionHead != nullptr ? auditionHead->getTempo() : 120.0;
    const double from = loopEditorTick.load();
    const double to = from + 480.0 * (tempo / 60.0) * n / sampleRate;
    const auto fromTick = (juce::int64) from;
    const auto toTick = (juce::int64) to;
    if (toTick > fromTick)
    {
        auto& scratch = track->getScratch(-1, n);
        track->processSlice(fromTick, toTick, scratch, noMidi);
        const int channels = juce::jmin(track->getScratchOutputChannels(), out.getNumChannels());
        for (int c = 0; c < channels; ++c)
            out.addFrom(c, 0, scratch, c, 0, n);
    }
    loopEditorTick = to;
}

void NVPlayback::renderPreview(juce::AudioBuffer<float>& out, NVSong* song)
{
    out.clear();
    const auto* preview = previewBuffer;
    if (preview == nullptr || preview->getNumChannels() == 0)
    {
        renderAudition(out);
        return;
    }

    const int n = out.getNumSamples();
    const auto length = (juce::uint64) preview->getNumSamples();
    const auto position = playPosition.load();
    if (position < length)
    {
        const int count = (int) juce::jmin((juce::uint64) n, length - position);
        for (int c = 0; c < out.getNumChannels(); ++c)
        {
            const int source = c < preview->getNumChannels() ? c : 0;
            out.copyFrom(c, 0, *preview, source, (int) position, count);
        }
    }
    const auto next = position + (juce::uint64) n;
    if (next > length)
    {
        setMode(kStopped, song);
        setPosition(0, lastTick.load(), 0.0);
    }
    else
    {
        playPosition = next;
    }
}

void NVPlayback::renderBlock(const juce::AudioSourceChannelInfo& info, NVSong* song)
{
    auto& device = *info.buffer;
    const int n = info.numSamples;
    // A view of the block's region of the device buffer (no allocation for up to 32 channels).
    juce::AudioBuffer<float> out(device.getArrayOfWritePointers(), device.getNumChannels(), info.startSample, n);

    if (processLocked.load())
    {
        out.clear();
        return;
    }

    const auto current = mode.load();
    if (current == kStopped)
    {
        if (recordingTrack.load() < 0)
            out.clear(); // otherwise the device input in the buffer passes through
        return;
    }
    if (current == kPreviewing || current == kAuditioning)
    {
        renderPreview(out, song);
        return;
    }

    if (current == kPlaying && recordingTrack.load() > 0)
    {
        const auto tick = (juce::int64) (480.0 * positionInBeats.load());
        const auto stop = recordingStopTick.load();
        if (tick >= recordingStartTick.load() && (stop < 1 || tick < stop))
        {
            recorderStarted = true;
            feedLevelRing(out);
        }
    }

    out.clear();
    if (song == nullptr || sampleRate <= 0.0)
        return;

    const auto position = playPosition.load();
    const float seconds = (float) (position + (juce::uint64) n) / (float) sampleRate;
    const auto endTick = (juce::int64) std::llround(480.0 * (song->getTempo() / 60.0) * (double) seconds);
    const auto from = lastTick.load();
    if (endTick > from)
        song->processSlice(from, endTick, position, out);

    lastTick = endTick;
    playPosition = position + (juce::uint64) n;
    positionInBeats = (double) endTick / 480.0;
    out.applyGain(song->getVolume());
    masterLevel = juce::jmin(70, (int) (out.getMagnitude(0, n) * 70.0f));
}
