#pragma once

#include <juce_core/juce_core.h>

#include "sound/NVBuiltinPatch.h"

#include <vector>

/** The tone of a melodic built-in engine and its programs. */
struct NVInstrumentSound
{
    juce::String engineName;
    NVVoicePatch patch;
    std::vector<NVProgramShape> programs;
    float sympathetic = 0;  ///< level of the sympathetic strings that ring along
    int voices = 24;
};

/** The table of the melodic built-in engines. */
class NVBuiltinInstruments
{
public:
    static const NVInstrumentSound* find (const juce::String& engineName);
    static juce::StringArray getNames();
};
