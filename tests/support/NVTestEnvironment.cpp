#include "tests/support/NVTestEnvironment.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cstdlib>

namespace
{
    juce::File& runFolder()
    {
        // Unique per process: test processes run in parallel and each deletes its own folder.
        static juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                       .getChildFile("nadavo-tests-" + juce::Uuid().toString());
        return folder;
    }
}

juce::File NVTest::freshHome()
{
    auto home = runFolder().getNonexistentChildFile("home", "", false);
    home.createDirectory();
    ::setenv("NADAVO_HOME", home.getFullPathName().toRawUTF8(), 1);
    return home;
}

juce::File NVTest::currentHome()
{
    return juce::File(juce::SystemStats::getEnvironmentVariable("NADAVO_HOME", {}));
}

bool NVTest::writeAudioFile(const juce::File& file, int channels, int length, double rate,
                            float (*value)(int, int))
{
    juce::AudioBuffer<float> buffer(channels, length);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < length; ++i)
            buffer.setSample(c, i, value(c, i));

    std::unique_ptr<juce::AudioFormat> format;
    if (file.hasFileExtension("wav"))
        format = std::make_unique<juce::WavAudioFormat>();
    else
        format = std::make_unique<juce::AiffAudioFormat>();
    file.deleteFile();
    auto stream = file.createOutputStream();
    if (stream == nullptr)
        return false;
    std::unique_ptr<juce::AudioFormatWriter> writer(
        format->createWriterFor(stream.get(), rate, (unsigned) channels, 24, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release();
    return writer->writeFromAudioSampleBuffer(buffer, 0, length);
}

NVTest::Sound NVTest::readAudioFile(const juce::File& file)
{
    Sound result;
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(file));
    if (reader == nullptr)
        return result;
    result.channels = (int) reader->numChannels;
    result.bits = (int) reader->bitsPerSample;
    result.rate = reader->sampleRate;
    result.samples.setSize(result.channels, (int) reader->lengthInSamples);
    reader->read(&result.samples, 0, (int) reader->lengthInSamples, 0, true, true);
    return result;
}

bool NVTest::writeMidiFile(const juce::File& file, const juce::MidiMessageSequence& track, int division)
{
    juce::MidiFile midi;
    midi.setTicksPerQuarterNote(division);
    midi.addTrack(track);
    file.deleteFile();
    juce::FileOutputStream out(file);
    return out.openedOk() && midi.writeTo(out);
}

void NVJuceEnvironment::SetUp()
{
    runFolder().createDirectory();
    NVTest::freshHome();
    juce = std::make_unique<juce::ScopedJuceInitialiser_GUI>();
}

void NVJuceEnvironment::TearDown()
{
    juce.reset();
    runFolder().deleteRecursively();
}
