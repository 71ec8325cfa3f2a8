#include "sound/NVBuiltinEngineFormat.h"

#include "sound/NVBuiltinInstruments.h"
#include "sound/NVBuiltinKits.h"
#include "sound/NVBuiltinMelodicEngine.h"
#include "sound/NVBuiltinPercussionEngine.h"

namespace
{
juce::String canonicalName (const juce::String& name)
{
    for (const auto& known : NVBuiltinEngineFormat::getEngineNames())
        if (known.equalsIgnoreCase (name))
            return known;
    return {};
}
} // namespace

const juce::StringArray& NVBuiltinEngineFormat::getEngineNames()
{
    static const juce::StringArray names = []
    {
        juce::StringArray all = NVBuiltinKits::getNames();
        all.addArray (NVBuiltinInstruments::getNames());
        all.sortNatural();
        return all;
    }();
    return names;
}

bool NVBuiltinEngineFormat::isBuiltinEngineName (const juce::String& name)
{
    return canonicalName (name).isNotEmpty();
}

bool NVBuiltinEngineFormat::isPercussionEngine (const juce::String& name)
{
    return NVBuiltinKits::find (name) != nullptr;
}

juce::String NVBuiltinEngineFormat::engineNameFromIdentifier (const juce::String& fileOrIdentifier)
{
    const auto trimmed = fileOrIdentifier.trim();
    if (trimmed.isEmpty())
        return {};
    // The identifier may be a bare engine name or a path to the engine's file.
    if (isBuiltinEngineName (trimmed))
        return canonicalName (trimmed);
    const auto file = trimmed.fromLastOccurrenceOf ("/", false, false).fromLastOccurrenceOf ("\\", false, false);
    const auto stem = file.containsChar ('.') ? file.upToLastOccurrenceOf (".", false, false) : file;
    return canonicalName (stem);
}

void NVBuiltinEngineFormat::describeEngine (const juce::String& engineName, const juce::String& fileOrIdentifier,
                                            juce::PluginDescription& d)
{
    d.name = engineName;
    d.descriptiveName = engineName;
    d.pluginFormatName = formatName;
    d.category = "Synth";
    d.manufacturerName = manufacturer;
    d.version = engineVersion;
    d.fileOrIdentifier = fileOrIdentifier;
    d.uniqueId = engineName.hashCode();
    d.deprecatedUid = d.uniqueId;
    d.isInstrument = true;
    d.numInputChannels = 1;
    d.numOutputChannels = 2;
    d.hasSharedContainer = false;
    d.hasARAExtension = false;
}

std::unique_ptr<juce::AudioPluginInstance> NVBuiltinEngineFormat::createEngine (const juce::String& engineName,
                                                                                const juce::String& fileOrIdentifier)
{
    const auto name = canonicalName (engineName);
    if (const auto* kit = NVBuiltinKits::find (name))
        return std::make_unique<NVBuiltinPercussionEngine> (*kit, fileOrIdentifier);
    if (const auto* sound = NVBuiltinInstruments::find (name))
        return std::make_unique<NVBuiltinMelodicEngine> (*sound, fileOrIdentifier);
    return nullptr;
}

//==============================================================================
void NVBuiltinEngineFormat::findAllTypesForFile (juce::OwnedArray<juce::PluginDescription>& results,
                                                 const juce::String& fileOrIdentifier)
{
    const auto name = engineNameFromIdentifier (fileOrIdentifier);
    if (name.isEmpty())
        return;
    auto d = std::make_unique<juce::PluginDescription>();
    describeEngine (name, fileOrIdentifier, *d);
    results.add (d.release());
}

bool NVBuiltinEngineFormat::fileMightContainThisPluginType (const juce::String& fileOrIdentifier)
{
    return engineNameFromIdentifier (fileOrIdentifier).isNotEmpty();
}

juce::String NVBuiltinEngineFormat::getNameOfPluginFromIdentifier (const juce::String& fileOrIdentifier)
{
    return engineNameFromIdentifier (fileOrIdentifier);
}

bool NVBuiltinEngineFormat::doesPluginStillExist (const juce::PluginDescription& d)
{
    return isBuiltinEngineName (d.name);
}

void NVBuiltinEngineFormat::createPluginInstance (const juce::PluginDescription& d, double initialSampleRate,
                                                  int initialBufferSize, PluginCreationCallback callback)
{
    auto name = canonicalName (d.name);
    if (name.isEmpty())
        name = engineNameFromIdentifier (d.fileOrIdentifier);
    auto engine = createEngine (name, d.fileOrIdentifier);
    if (engine == nullptr)
    {
        callback (nullptr, "There is no built-in sound engine called \"" + d.name + "\"");
        return;
    }
    engine->setRateAndBufferSizeDetails (initialSampleRate > 0 ? initialSampleRate : 44100.0,
                                         initialBufferSize > 0 ? initialBufferSize : 512);
    callback (std::move (engine), {});
}
