#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** Creates the sound engine an instrument names: the engine's plug-in file
    when it is there and loads, otherwise the built-in engine of that name. */
struct NVSoundEngineFactory
{
    /** Adds the built-in engines' format; call after addDefaultFormats(). Adding twice does nothing. */
    static void registerBuiltinFormat (juce::AudioPluginFormatManager&);

    /** The engine `desc` names (see above); nullptr with `error` set when there is none.
        A sample rate of 0 (no audio device) creates the engine at 44100 Hz without
        preparing it; otherwise the engine comes prepared at that rate and block size. */
    static std::unique_ptr<juce::AudioPluginInstance> createEngine (juce::AudioPluginFormatManager&,
                                                                    const juce::PluginDescription& desc,
                                                                    double sampleRate, int blockSize,
                                                                    juce::String& error);

    /** The name of the registered format that would load the plug-in file at `path`
        (".vst3" VST3, an ".lv2" bundle LV2, ".so" LADSPA); empty when none would. */
    static juce::String formatNameForFile (const juce::File& path);
};
