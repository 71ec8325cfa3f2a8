#include "engine/NVAudioTrack.h"

#include <limits>

namespace
{
    void readClip(const NVAudioTrack::Clip& clip, juce::AudioBuffer<float>& dest, int destStart)
    {
        if (clip.reader == nullptr || clip.end <= clip.start)
            return;
        const auto length = (int) (clip.end - clip.start);
        if (clip.samples != nullptr)
        {
            // From the copy in memory: a mono file fills both channels.
            const int count = juce::jmin(length, clip.samples->getNumSamples());
            for (int c = 0; c < dest.getNumChannels(); ++c)
                dest.copyFrom(c, destStart, *clip.samples, juce::jmin(c, clip.samples->getNumChannels() - 1), 0, count);
            return;
        }
        clip.reader->read(&dest, destStart, length, 0, true, true); // a mono file fills both channels
    }
}

NVAudioTrack::~NVAudioTrack()
{
    clearAudioFiles();
}

void NVAudioTrack::clearEvents()
{
    NVTrack::clearEvents();
    clearAudioFiles();
}

void NVAudioTrack::openFile(Clip& clip)
{
    for (auto& other : clips)
    {
        if (other.path == clip.path)
        {
            clip.reader = other.reader;
            clip.samples = other.samples;
            return;
        }
    }

    auto stream = juce::File(clip.path).createInputStream();
    if (stream == nullptr)
        return;

    std::unique_ptr<juce::AudioFormat> format;
    if (clip.path.endsWithIgnoreCase(".wav"))
        format = std::make_unique<juce::WavAudioFormat>();
    else
        format = std::make_unique<juce::AiffAudioFormat>();

    // The reader owns the stream; the stream is deleted when no reader can be made.
    auto* reader = format->createReaderFor(stream.release(), true);
    if (reader == nullptr || reader->numChannels == 0)
    {
        delete reader;
        return;
    }

    // Playback reads the file from memory: the audio callback never touches a file.
    const auto length = (int) juce::jmin(reader->lengthInSamples, (juce::int64) std::numeric_limits<int>::max());
    auto* samples = new juce::AudioBuffer<float>((int) reader->numChannels, length);
    reader->read(samples, 0, length, 0, true, true);

    clip.reader = readers.add(reader);
    clip.samples = fileSamples.add(samples);
}

void NVAudioTrack::addAudioFile(juce::uint64 start, juce::uint64 end, const juce::String& path)
{
    Clip clip { start, end, nullptr, path, nullptr };
    openFile(clip);
    const juce::ScopedLock sl(lock); // the audio callback walks the clips
    clips.push_back(clip);
}

bool NVAudioTrack::AddAudioLoop(std::uint64_t start, std::uint64_t end, const std::string& path)
{
    addAudioFile(start, end, juce::String::fromUTF8(path.c_str()));
    return true;
}

void NVAudioTrack::clearAudioFiles()
{
    {
        const juce::ScopedLock sl(lock);
        clips.clear();
    }
    readers.clear(true);
    fileSamples.clear(true);
}

std::unique_ptr<juce::AudioBuffer<float>> NVAudioTrack::getSamples() const
{
    if (clips.empty())
        return nullptr;
    juce::uint64 length = 0;
    for (auto& clip : clips)
        length = juce::jmax(length, clip.end);
    auto buffer = std::make_unique<juce::AudioBuffer<float>>(2, (int) length);
    buffer->clear();
    for (auto& clip : clips)
        readClip(clip, *buffer, (int) clip.start);
    return buffer;
}

std::unique_ptr<juce::AudioBuffer<float>> NVAudioTrack::getSamples(int i) const
{
    if (!juce::isPositiveAndBelow(i, (int) clips.size()))
        return nullptr;
    const auto& clip = clips[(size_t) i];
    if (clip.reader == nullptr)
        return nullptr;
    const int length = clip.end > clip.start ? (int) (clip.end - clip.start) : 0;
    auto buffer = std::make_unique<juce::AudioBuffer<float>>((int) clip.reader->numChannels, length);
    buffer->clear();
    if (length > 0)
        clip.reader->read(buffer.get(), 0, length, 0, true, true);
    return buffer;
}

void NVAudioTrack::processSlice(juce::int64, juce::int64, juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    if (mute)
        return;
    const int n = buffer.getNumSamples();
    const auto p = renderPosition;

    const juce::ScopedLock sl(lock); // clips come and go under it
    const Clip* clip = nullptr;
    for (auto& c : clips)
    {
        if (c.start <= p && p < c.end)
        {
            clip = &c;
            break;
        }
    }

    if (clip != nullptr)
    {
        const int wanted = (int) juce::jmin((juce::uint64) n, clip->end - p);
        // Every file is held in memory: playing and recording never wait on the disk.
        const juce::AudioBuffer<float>* source = clip->samples;
        const juce::uint64 from = p - clip->start;
        if (source != nullptr && from < (juce::uint64) source->getNumSamples())
        {
            const int count = (int) juce::jmin((juce::uint64) wanted, (juce::uint64) source->getNumSamples() - from);
            const int right = source->getNumChannels() > 1 ? 1 : 0;
            buffer.addFrom(0, 0, *source, 0, (int) from, count);
            if (buffer.getNumChannels() > 1)
                buffer.addFrom(1, 0, *source, right, (int) from, count);
        }
    }

    processEffects(buffer);
    buffer.applyGain(0, 0, n, juce::jmin(1.0f, 2.0f * (1.0f - pan)) * volume);
    if (buffer.getNumChannels() > 1)
        buffer.applyGain(1, 0, n, juce::jmin(1.0f, 2.0f * pan) * volume);
    level = juce::jmin(42, (int) (buffer.getMagnitude(0, n) * 42.0f));
}
