#include "sound/NVSoundEngineFactory.h"

#include "sound/NVBuiltinEngineFormat.h"

namespace
{
juce::AudioPluginFormat* findFormat (juce::AudioPluginFormatManager& manager, const juce::String& name)
{
    for (auto* format : manager.getFormats())
        if (format->getName() == name)
            return format;
    return nullptr;
}

/** Loads the plug-in in `file` through `format`, preferring the type named like the engine. */
std::unique_ptr<juce::AudioPluginInstance> loadFromFile (juce::AudioPluginFormat& format, const juce::File& file,
                                                         const juce::String& engineName, double rate, int block,
                                                         juce::String& error)
{
    juce::StringArray identifiers;
    if (format.getName() == "LV2")
        identifiers = format.searchPathsForPlugins (juce::FileSearchPath (file.getParentDirectory().getFullPathName()),
                                                    false, false);
    else
        identifiers.add (file.getFullPathName());

    juce::OwnedArray<juce::PluginDescription> types;
    for (const auto& id : identifiers)
        format.findAllTypesForFile (types, id);

    const juce::PluginDescription* chosen = nullptr;
    for (const auto* t : types)
        if (t->name.equalsIgnoreCase (engineName))
            chosen = t;
    if (chosen == nullptr && format.getName() != "LV2")
        for (const auto* t : types)
            if (chosen == nullptr || (t->isInstrument && ! chosen->isInstrument))
                chosen = t;
    if (chosen == nullptr)
        return nullptr;
    return format.createInstanceFromDescription (*chosen, rate, block, error);
}
} // namespace

void NVSoundEngineFactory::registerBuiltinFormat (juce::AudioPluginFormatManager& manager)
{
    if (findFormat (manager, NVBuiltinEngineFormat::formatName) == nullptr)
        manager.addFormat (new NVBuiltinEngineFormat());
}

juce::String NVSoundEngineFactory::formatNameForFile (const juce::File& path)
{
    const auto ext = path.getFileExtension().toLowerCase();
    if (ext == ".vst3")
        return "VST3";
    if (ext == ".lv2" && path.isDirectory())
        return "LV2";
    if (ext == ".so")
        return "LADSPA";
    return {};
}

std::unique_ptr<juce::AudioPluginInstance> NVSoundEngineFactory::createEngine (juce::AudioPluginFormatManager& manager,
                                                                               const juce::PluginDescription& desc,
                                                                               double sampleRate, int blockSize,
                                                                               juce::String& error)
{
    error.clear();
    const double rate = sampleRate > 0 ? sampleRate : 44100.0;
    const int block = blockSize > 0 ? blockSize : 512;
    std::unique_ptr<juce::AudioPluginInstance> engine;
    juce::String fileError;

    const auto path = desc.fileOrIdentifier.trim();
    if (juce::File::isAbsolutePath (path))
    {
        const juce::File file (path);
        if (file.exists())
            if (auto* format = findFormat (manager, formatNameForFile (file)))
                engine = loadFromFile (*format, file, desc.name, rate, block, fileError);
    }

    if (engine == nullptr && NVBuiltinEngineFormat::isBuiltinEngineName (desc.name))
    {
        if (findFormat (manager, NVBuiltinEngineFormat::formatName) == nullptr)
        {
            error = "The built-in sound engines are not registered";
            return nullptr;
        }
        auto builtin = desc;
        builtin.pluginFormatName = NVBuiltinEngineFormat::formatName;
        engine = manager.createPluginInstance (builtin, rate, block, error);
    }

    if (engine == nullptr)
    {
        if (error.isEmpty())
            error = fileError.isNotEmpty() ? fileError
                                           : "Sound engine \"" + desc.name + "\" not found";
        return nullptr;
    }
    error.clear();
    if (sampleRate > 0)
        engine->prepareToPlay (sampleRate, block);
    return engine;
}
