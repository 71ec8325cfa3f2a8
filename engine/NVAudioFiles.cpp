#include "engine/NVAudioFiles.h"

#include "engine/NVManager.h"
#include "model/TWLoopFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>

namespace
{
    struct Sound
    {
        juce::AudioBuffer<float> samples;
        double sampleRate = 0.0;
    };

    // The whole file in memory; false when it can't be read.
    bool readWhole(const juce::String& path, Sound& sound)
    {
        auto stream = juce::File(path).createInputStream();
        if (stream == nullptr)
            return false;
        std::unique_ptr<juce::AudioFormat> format;
        if (path.endsWithIgnoreCase(".wav"))
            format = std::make_unique<juce::WavAudioFormat>();
        else
            format = std::make_unique<juce::AiffAudioFormat>();
        std::unique_ptr<juce::AudioFormatReader> reader(format->createReaderFor(stream.get(), false));
        if (reader == nullptr)
            return false;
        stream.release(); // the reader owns it now
        if (reader->numChannels == 0 || reader->lengthInSamples > std::numeric_limits<int>::max())
            return false;
        const auto length = (int) reader->lengthInSamples;
        sound.samples.setSize((int) reader->numChannels, length);
        sound.samples.clear();
        sound.sampleRate = reader->sampleRate;
        return reader->read(&sound.samples, 0, length, 0, true, true);
    }

    bool writeWhole(const juce::File& file, juce::AudioFormat& format, const juce::AudioBuffer<float>& samples,
                    double sampleRate)
    {
        file.deleteFile();
        auto stream = std::make_unique<juce::FileOutputStream>(file);
        if (!stream->openedOk())
            return false;
        std::unique_ptr<juce::AudioFormatWriter> writer(
            format.createWriterFor(stream.get(), sampleRate, (unsigned) samples.getNumChannels(), 16, {}, 0));
        if (writer == nullptr)
            return false;
        stream.release(); // the writer owns it now
        const bool written = writer->writeFromAudioSampleBuffer(samples, 0, samples.getNumSamples());
        writer.reset();
        if (!written)
            file.deleteFile();
        return written;
    }

    // Adds `count` samples of `source` from `sourceStart` into `dest` at `destStart`,
    // replacing what was there; a channel the source lacks is its channel 0.
    void place(juce::AudioBuffer<float>& dest, int destStart, const juce::AudioBuffer<float>& source,
               int sourceStart, int count)
    {
        if (count <= 0)
            return;
        for (int c = 0; c < dest.getNumChannels(); ++c)
            dest.copyFrom(c, destStart, source, c < source.getNumChannels() ? c : 0, sourceStart, count);
    }
}

juce::String NVAudioFiles::mergeAudioFile(const juce::String& basePath, const juce::String& otherPath,
                                          juce::int64 offset, bool appendTail)
{
    Sound base, other;
    if (!readWhole(basePath, base) || !readWhole(otherPath, other))
        return {};

    const juce::int64 baseLength = base.samples.getNumSamples();
    const juce::int64 otherLength = other.samples.getNumSamples();
    offset = juce::jmax((juce::int64) 0, offset);
    const juce::int64 length = appendTail ? baseLength + juce::jmax((juce::int64) 0, otherLength - offset)
                                          : juce::jmax(baseLength, offset + otherLength);
    if (length > std::numeric_limits<int>::max())
        return {};

    const int channels = juce::jmax(base.samples.getNumChannels(), other.samples.getNumChannels());
    juce::AudioBuffer<float> result(channels, (int) length);
    result.clear();
    place(result, 0, base.samples, 0, (int) baseLength);
    if (appendTail)
        place(result, (int) baseLength, other.samples, (int) juce::jmin(offset, otherLength),
              (int) juce::jmax((juce::int64) 0, otherLength - offset));
    else
        place(result, (int) offset, other.samples, 0, (int) otherLength);

    const auto folder = owner.getCurrentGroovesTempFolder(false);
    const auto name = TWLoopFiles::getNextAvailableBinaryName(folder.toStdString(), ".aif");
    const auto file = juce::File(folder).getChildFile(juce::String::fromUTF8(name.c_str()));
    const double rate = owner.getSampleRate() > 0.0 ? owner.getSampleRate() : base.sampleRate;
    juce::AiffAudioFormat aiff;
    if (!writeWhole(file, aiff, result, rate))
        return {};
    return file.getFullPathName();
}

juce::String NVAudioFiles::uncompressMP3(const juce::String& path)
{
    auto& dialogs = owner.getDialogHost();
    const juce::File mp3(path);
    dialogs.showProgress("Uncompressing...", "Uncompressing file " + mp3.getFileNameWithoutExtension() + "...");
    dialogs.letInterfaceRun(100);

    juce::String result;
    juce::MP3AudioFormat format;
    auto stream = mp3.createInputStream();
    std::unique_ptr<juce::AudioFormatReader> reader(
        stream != nullptr ? format.createReaderFor(stream.get(), false) : nullptr);
    if (reader != nullptr)
        stream.release(); // the reader owns it now
    if (reader != nullptr && reader->numChannels > 0 && reader->lengthInSamples > 0
        && reader->lengthInSamples <= std::numeric_limits<int>::max())
    {
        const auto length = (int) reader->lengthInSamples;
        juce::AudioBuffer<float> samples((int) reader->numChannels, length);
        samples.clear();
        const double rate = owner.getSampleRate() > 0.0 ? owner.getSampleRate() : reader->sampleRate;
        const auto wav = juce::File::createTempFile(".wav");
        juce::WavAudioFormat wavFormat;
        if (reader->read(&samples, 0, length, 0, true, true) && writeWhole(wav, wavFormat, samples, rate))
            result = wav.getFullPathName();
    }

    dialogs.hideProgress();
    return result;
}
