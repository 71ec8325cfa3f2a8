#pragma once
#include "engine/NVTrack.h"

// A track whose events are rendered by its sound engine.
class NVMidiTrack : public NVTrack
{
public:
    explicit NVMidiTrack(int trackIndex = 0) : NVTrack(trackIndex) {}

    bool isAudioTrack() const override { return false; }
    // Feeds the track's events of [fromTick, toTick) to its sound engine, on
    // channel 1 after the pan, pitch-bend range, drum-kit pitch and volume controllers.
    void processSlice(juce::int64 fromTick, juce::int64 toTick,
                      juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;

    // The sound engine's state block as base-64 text; empty without an engine.
    juce::String getPluginState();
    // Decodes base-64 text and hands the block to the sound engine.
    // False when there is no engine or the text is not base-64.
    bool setPluginState(const juce::String& base64);

    float getLastVolume() const { return lastVolume; }
    void setLastVolume(float v) { lastVolume = v; }

private:
    void buildBlockMidi(juce::int64 fromTick, juce::int64 toTick, int numSamples);

    float lastVolume = 127.0f; // last volume or expression controller value seen
};
