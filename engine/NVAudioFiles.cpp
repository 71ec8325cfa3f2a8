#include "engine/NVAudioFiles.h"

#include "engine/NVAudioFileIO.h"
#include "engine/NVManager.h"
#include "model/TWLoopFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>

namespace
{
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
    juce::AudioBuffer<float> baseSamples, otherSamples;
    double baseRate = 0.0;
    if (!NVAudioFileIO::readLoopFile(juce::File(basePath), baseSamples, &baseRate)
        || !NVAudioFileIO::readLoopFile(juce::File(otherPath), otherSamples))
        return {};

    const juce::int64 baseLength = baseSamples.getNumSamples();
    const juce::int64 otherLength = otherSamples.getNumSamples();
    offset = juce::jmax((juce::int64) 0, offset);
    const juce::int64 length = appendTail ? baseLength + juce::jmax((juce::int64) 0, otherLength - offset)
                                          : juce::jmax(baseLength, offset + otherLength);
    if (length > std::numeric_limits<int>::max())
        return {};

    const int channels = juce::jmax(baseSamples.getNumChannels(), otherSamples.getNumChannels());
    juce::AudioBuffer<float> result(channels, (int) length);
    result.clear();
    place(result, 0, baseSamples, 0, (int) baseLength);
    if (appendTail)
        place(result, (int) baseLength, otherSamples, (int) juce::jmin(offset, otherLength),
              (int) juce::jmax((juce::int64) 0, otherLength - offset));
    else
        place(result, (int) offset, otherSamples, 0, (int) otherLength);

    const auto folder = owner.getCurrentGroovesTempFolder(false);
    const auto name = TWLoopFiles::getNextAvailableBinaryName(folder.toStdString(), ".aif");
    const auto file = juce::File(folder).getChildFile(juce::String::fromUTF8(name.c_str()));
    const double rate = owner.getSampleRate() > 0.0 ? owner.getSampleRate() : baseRate;
    juce::AiffAudioFormat aiff;
    if (!NVAudioFileIO::writeWhole(file, aiff, result, rate))
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
        if (reader->read(&samples, 0, length, 0, true, true) && NVAudioFileIO::writeWhole(wav, wavFormat, samples, rate))
            result = wav.getFullPathName();
    }

    dialogs.hideProgress();
    return result;
}
