#include "engine/NVEngineState.h"

bool NVEngineState::isInbuiltPlugin(const juce::PluginDescription& description)
{
    return description.manufacturerName.equalsIgnoreCase("Kelvora")
           && !description.name.equalsIgnoreCase("Mirelo")
           && !description.name.equalsIgnoreCase("Tolvane");
}

juce::String NVEngineState::describe(const juce::AudioPluginInstance& engine, const juce::String& base64State)
{
    const auto description = engine.getPluginDescription();
    const juce::String prefix = isInbuiltPlugin(description) ? juce::String("M") : description.fileOrIdentifier;
    return prefix + "?" + base64State;
}

bool NVEngineState::restore(juce::AudioPluginInstance& engine, const juce::String& saved)
{
    const int mark = saved.indexOfChar('?');
    if (mark < 1)
        return false;

    const auto description = engine.getPluginDescription();
    const auto prefix = saved.substring(0, mark);
    const bool matches = mark == 1 ? prefix.equalsIgnoreCase("M") && isInbuiltPlugin(description)
                                   : prefix.equalsIgnoreCase(description.fileOrIdentifier);
    if (!matches)
        return false;

    juce::MemoryBlock block;
    if (!block.fromBase64Encoding(saved.substring(mark + 1)))
        return false;
    engine.setStateInformation(block.getData(), (int) block.getSize());
    return true;
}
