#pragma once
#include <juce_core/juce_core.h>

// A run-time instrument: one entry of the instrument table, naming the sound
// engine that renders a track and the program the engine is switched to.
class NVInstrument
{
public:
    NVInstrument() = default;

    const juce::String& getName() const { return name; }
    const juce::String& getEngineName() const { return engineName; }

    juce::String name;
    juce::String engineName;
    juce::String pluginFolder;    // ends with the separator; empty means "Sound Engines"
    juce::String pluginExtension; // with its dot, or empty
    juce::String photo { "Audio" };
    bool drumKit = false;
    int bank = 0;
    int subBank = 0;
    int slot = 0;
    int program = -1;             // -1: no program change
};
