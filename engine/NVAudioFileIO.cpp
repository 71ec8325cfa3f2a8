#include "engine/NVAudioFileIO.h"

namespace NVAudioFileIO
{
std::unique_ptr<juce::AudioFormatReader> openReader(const juce::File& file, juce::AudioFormat& format)
{
    if (!file.existsAsFile())
        return nullptr;
    auto stream = file.createInputStream();
    if (stream == nullptr)
        return nullptr;
    // Not deleted by the format on failure: the unique_ptr keeps that job.
    std::unique_ptr<juce::AudioFormatReader> reader(format.createReaderFor(stream.get(), false));
    if (reader != nullptr)
        stream.release(); // the reader owns it now
    return reader;
}

std::unique_ptr<juce::AudioFormatReader> openLoopFile(const juce::File& file)
{
    if (file.getFileName().endsWithIgnoreCase(".wav"))
    {
        juce::WavAudioFormat wav;
        return openReader(file, wav);
    }
    juce::AiffAudioFormat aiff;
    return openReader(file, aiff);
}

namespace
{
    bool readAll(juce::AudioFormatReader* reader, juce::AudioBuffer<float>& buffer, double* sampleRate)
    {
        if (reader == nullptr || reader->numChannels < 1 || reader->lengthInSamples < 0
            || reader->lengthInSamples > std::numeric_limits<int>::max())
            return false;
        const auto length = (int) reader->lengthInSamples;
        buffer.setSize((int) reader->numChannels, length);
        buffer.clear();
        if (sampleRate != nullptr)
            *sampleRate = reader->sampleRate;
        return reader->read(&buffer, 0, length, 0, true, true);
    }
}

bool readWhole(const juce::File& file, juce::AudioFormat& format, juce::AudioBuffer<float>& buffer, double* sampleRate)
{
    return readAll(openReader(file, format).get(), buffer, sampleRate);
}

bool readLoopFile(const juce::File& file, juce::AudioBuffer<float>& buffer, double* sampleRate)
{
    return readAll(openLoopFile(file).get(), buffer, sampleRate);
}

bool writeWhole(const juce::File& file, juce::AudioFormat& format, const juce::AudioBuffer<float>& buffer,
                double sampleRate, int qualityIndex)
{
    file.deleteFile();
    std::unique_ptr<juce::OutputStream> stream(file.createOutputStream());
    if (stream == nullptr)
        return false;
    std::unique_ptr<juce::AudioFormatWriter> writer(
        format.createWriterFor(stream.get(), sampleRate, (unsigned) buffer.getNumChannels(), 16, {}, qualityIndex));
    if (writer == nullptr)
    {
        stream.reset();
        file.deleteFile();
        return false;
    }
    stream.release(); // the writer owns it now

    constexpr int blockSize = 1024;
    bool written = true;
    for (int start = 0; start < buffer.getNumSamples() && written; start += blockSize)
        written = writer->writeFromAudioSampleBuffer(buffer, start, juce::jmin(blockSize, buffer.getNumSamples() - start));
    writer.reset(); // flushes and closes
    if (!written)
        file.deleteFile();
    return written;
}
} // namespace NVAudioFileIO
