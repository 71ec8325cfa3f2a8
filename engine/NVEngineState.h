#pragma once
#include <juce_audio_processors/juce_audio_processors.h>

// The saved state of a track's sound engine, as songs keep it: a prefix, "?"
// and the engine's state block as base-64 text. The prefix is "M" for our own
// engines (whatever file they came from) and the engine file's path otherwise.
namespace NVEngineState
{
    // True for our own engines: maker "Kelvora", and not "Mirelo" or "Tolvane".
    bool isInbuiltPlugin(const juce::PluginDescription& description);

    // The text to save for an engine whose state block is `base64State`.
    juce::String describe(const juce::AudioPluginInstance& engine, const juce::String& base64State);

    // Gives the engine the state saved in `saved` when the prefix names this
    // engine; otherwise leaves it in its own state. True when the state was given.
    bool restore(juce::AudioPluginInstance& engine, const juce::String& saved);
}
