#include "engine/NVAudioTrack.h"

namespace
{
    void readClip(const NVAudioTrack::Clip& clip, juce::AudioBuffer<float>& dest, int destStart)
    {
        if (clip.reader == nullptr || clip.end <= clip.start)
            return;
        const auto length = (int) (clip.end - clip.start);
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

juce::AudioFormatReader* NVAudioTrack::findOrOpenReader(const juce::String& path)
{
    for (auto& clip : clips)
        if (clip.path == path)
            return clip.reader;

    auto stream = juce::File(path).createInputStream();
    if (stream == nullptr)
        return nullptr;

    std::unique_ptr<juce::AudioFormat> format;
    if (path.endsWithIgnoreCase(".wav"))
        format = std::make_unique<juce::WavAudioFormat>();
    else
        format = std::make_unique<juce::AiffAudioFormat>();

    // The reader owns the stream; the stream is deleted when no reader can be made.
    auto* reader = format->createReaderFor(stream.release(), true);
    return reader != nullptr ? readers.add(reader) : nullptr;
}

void NVAudioTrack::addAudioFile(juce::uint64 start, juce::uint64 end, const juce::String& path)
{
    clips.push_back({ start, end, findOrOpenReader(path), path });
    if (index == 0)
        rebuildMemoryCopy();
}

void NVAudioTrack::clearAudioFiles()
{
    std::unique_ptr<juce::AudioBuffer<float>> oldCopy;
    {
        const juce::ScopedLock sl(lock);
        clips.clear();
        oldCopy = std::move(memoryCopy);
    }
    readers.clear(true);
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

void NVAudioTrack::rebuildMemoryCopy()
{
    std::unique_ptr<juce::AudioBuffer<float>> fresh = getSamples();
    {
        // The audio callback reads the copy under the track lock: swap, don't rebuild in place.
        const juce::ScopedLock sl(lock);
        std::swap(memoryCopy, fresh);
    }
}
