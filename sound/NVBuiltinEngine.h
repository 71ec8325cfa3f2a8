#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include "sound/NVBuiltinVoice.h"

#include <vector>

/** Common ground of the built-in sound engines: a polyphonic instrument
    plug-in instance that plays channel-1 MIDI into a stereo buffer.

    It handles notes (velocity 0 = note-off), volume (CC 7), pan (CC 10),
    sustain (CC 64), the pitch-bend range through RPN 0 (CC 101/100/6/38),
    the pitch wheel, all-sound-off (CC 120), reset-controllers (CC 121) and
    all-notes-off (CC 123); its programs are variations of its sound.
    Subclasses say which sound a note plays. */
class NVBuiltinEngine : public juce::AudioPluginInstance
{
public:
    NVBuiltinEngine (const juce::String& engineName, const juce::String& fileOrIdentifier,
                     int numVoices, std::vector<NVProgramShape> programs);
    ~NVBuiltinEngine() override;

    //==============================================================================
    void fillInPluginDescription (juce::PluginDescription&) const override;
    const juce::String getName() const override { return engineName; }

    void prepareToPlay (double sampleRate, int maximumBlockSize) override;
    void releaseResources() override {}
    void reset() override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioPluginInstance::processBlock;
    bool isBusesLayoutSupported (const BusesLayout&) const override;

    double getTailLengthSeconds() const override { return 3.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return false; }
    bool hasEditor() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }

    int getNumPrograms() override { return (int) programs.size(); }
    int getCurrentProgram() override { return currentProgram; }
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    //==============================================================================
    float getPitchBendRangeSemitones() const noexcept { return bendRange; }
    int getNumActiveVoices() const noexcept;

protected:
    /** The sound a note plays, and the note's frequency; nullptr when the note is silent. */
    virtual const NVVoicePatch* findPatch (int note, float& hz) const = 0;
    /** How fast the sound of a key fades when the key is played again. */
    virtual float retriggerFadeSeconds() const { return 0.03f; }
    /** Engine-wide processing after the voices (called with the chunk's stereo mix). */
    virtual void prepareEffects (double) {}
    virtual void renderEffects (float*, float*, int) noexcept {}
    virtual void resetEffects() noexcept {}
    /** Fades the engine-wide processing out quickly (all-sound-off). */
    virtual void silenceEffects() noexcept {}

private:
    void renderRange (juce::AudioBuffer<float>&, int start, int numSamples) noexcept;
    void handleMessage (const juce::MidiMessage&) noexcept;
    void handleController (int number, int value) noexcept;
    void noteOn (int note, float velocity) noexcept;
    void noteOff (int note) noexcept;
    void updateTargetGains() noexcept;

    static constexpr int chunkSize = 256;

    juce::String engineName, fileOrIdentifier;
    std::vector<NVProgramShape> programs;
    int currentProgram = 0;

    std::vector<NVBuiltinVoice> voices;
    std::vector<float> mixLeft, mixRight;
    uint32_t noteCounter = 0;
    bool sustainPedal = false;
    bool heldBySustain[128] {};

    int volumeCc = 100, panCc = 64, bendValue = 8192, rpnMsb = 127, rpnLsb = 127;
    float bendRange = 2.0f;
    float targetLeft = 1, targetRight = 1, gainLeft = 1, gainRight = 1, gainSmoothing = 0.001f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NVBuiltinEngine)
};
