#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** The plug-in format of the sound engines built into the program.

    It stands in for the maker's engine files: a description whose name is
    one of the engine names creates that engine, wherever its file would be.
    Register it with the format manager once the default formats are in. */
class NVBuiltinEngineFormat : public juce::AudioPluginFormat
{
public:
    static constexpr const char* formatName = "Kelvora";
    static constexpr const char* manufacturer = "Kelvora";
    static constexpr const char* engineVersion = "V2.1.1";

    NVBuiltinEngineFormat() = default;

    /** Every engine name, percussion kits and melodic instruments. */
    static const juce::StringArray& getEngineNames();
    static bool isBuiltinEngineName (const juce::String& name);
    /** True for the engines whose notes are strokes of a kit. */
    static bool isPercussionEngine (const juce::String& name);

    /** Fills `d` in as the description of an engine of ours. */
    static void describeEngine (const juce::String& engineName, const juce::String& fileOrIdentifier,
                                juce::PluginDescription& d);
    /** A new engine, not yet prepared; nullptr when `engineName` is none of ours. */
    static std::unique_ptr<juce::AudioPluginInstance> createEngine (const juce::String& engineName,
                                                                    const juce::String& fileOrIdentifier);

    //==============================================================================
    juce::String getName() const override { return formatName; }
    /** The engine a path or identifier names: its file name without folder and extension. */
    void findAllTypesForFile (juce::OwnedArray<juce::PluginDescription>&, const juce::String& fileOrIdentifier) override;
    bool fileMightContainThisPluginType (const juce::String& fileOrIdentifier) override;
    juce::String getNameOfPluginFromIdentifier (const juce::String& fileOrIdentifier) override;
    bool pluginNeedsRescanning (const juce::PluginDescription&) override { return false; }
    bool doesPluginStillExist (const juce::PluginDescription&) override;
    bool canScanForPlugins() const override { return false; }
    bool isTrivialToScan() const override { return true; }
    juce::StringArray searchPathsForPlugins (const juce::FileSearchPath&, bool, bool) override { return {}; }
    juce::FileSearchPath getDefaultLocationsToSearch() override { return {}; }
    bool requiresUnblockedMessageThreadDuringCreation (const juce::PluginDescription&) const override { return false; }

    /** The engine name a path or identifier stands for. */
    static juce::String engineNameFromIdentifier (const juce::String& fileOrIdentifier);

protected:
    void createPluginInstance (const juce::PluginDescription&, double initialSampleRate,
                               int initialBufferSize, PluginCreationCallback) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NVBuiltinEngineFormat)
};
