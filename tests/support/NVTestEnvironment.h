#pragma once
#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

#include <memory>

// Test support shared by the test executables: JUCE is initialised once for
// the whole run, and every test can get a fresh, empty NADAVO_HOME.
namespace NVTest
{
    // Points NADAVO_HOME at a new empty folder and returns it.
    juce::File freshHome();
    // The folder NADAVO_HOME points at.
    juce::File currentHome();
    // Writes a mono or stereo WAV/AIFF file of `length` samples whose sample i of
    // channel c is value(c, i).
    bool writeAudioFile(const juce::File& file, int channels, int length, double rate,
                        float (*value)(int channel, int index));

    // The whole of an audio file as another program would read it (any basic
    // format); no channels when it can't be read.
    struct Sound
    {
        int channels = 0;
        int bits = 0;
        double rate = 0.0;
        juce::AudioBuffer<float> samples;
    };
    Sound readAudioFile(const juce::File& file);

    // Writes `track` as the one track of a MIDI file with `division` ticks per quarter note.
    bool writeMidiFile(const juce::File& file, const juce::MidiMessageSequence& track, int division = 480);
}

// Installs the JUCE initialiser and a fresh NADAVO_HOME for the whole run.
class NVJuceEnvironment : public ::testing::Environment
{
public:
    void SetUp() override;
    void TearDown() override;

private:
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> juce;
};
