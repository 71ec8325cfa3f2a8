#include "engine/NVMidiTrack.h"

juce::String NVMidiTrack::getPluginState()
{
    const juce::ScopedLock sl(lock);
    if (plugin == nullptr)
        return {};
    juce::MemoryBlock block;
    plugin->getStateInformation(block);
    return block.toBase64Encoding();
}

bool NVMidiTrack::setPluginState(const juce::String& base64)
{
    juce::MemoryBlock block;
    if (!block.fromBase64Encoding(base64))
        return false;
    const juce::ScopedLock sl(lock);
    if (plugin == nullptr)
        return false;
    plugin->setStateInformation(block.getData(), (int) block.getSize());
    return true;
}
