#include "engine/NVUserSettings.h"

#include "model/LUAppFolders.h"

namespace
{
    juce::Rectangle<int> readRectangle(const juce::PropertiesFile& props, const char* key)
    {
        const auto text = props.getValue(key).trim();
        if (text.isEmpty())
            return {};
        return juce::Rectangle<int>::fromString(text);
    }
}

NVUserSettings::NVUserSettings() = default;
NVUserSettings::~NVUserSettings() = default;

juce::File NVUserSettings::getSettingsFile()
{
    return juce::File(juce::String::fromUTF8(LUAppFolders::GetConfigFolder().c_str()))
        .getChildFile("Nadavo Recorder.settings");
}

juce::String NVUserSettings::normaliseLAMEPath(const juce::String& path)
{
    return path.trim().isEmpty() ? juce::String(defaultLAMEPath) : path;
}

void NVUserSettings::read(juce::KnownPluginList& plugins)
{
    juce::PropertiesFile::Options options;
    options.applicationName = "Nadavo Recorder";
    options.folderName = "Nadavo Recorder";
    options.filenameSuffix = "settings";
    options.osxLibrarySubFolder = "Application Support";
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    options.commonToAllUsers = false;
    options.ignoreCaseOfKeyNames = false;
    options.millisecondsBeforeSaving = -1; // saved explicitly, or when destroyed

    auto file = getSettingsFile();
    file.getParentDirectory().createDirectory();
    properties = std::make_unique<juce::PropertiesFile>(file, options);
    auto& props = *properties;

    if (auto xml = props.getXmlValue("pluginList"))
        plugins.recreateFromXml(*xml);
    audioSettings = props.getXmlValue("audioSettings");
    extMIDITool = props.getValue("ExtMIDITool");
    extAudioTool = props.getValue("ExtAudioTool");
    forceMonoInput = props.getBoolValue("ForceMonoInput", false);
    mainWindowBounds = readRectangle(props, "MainWindowBounds");
    loopEditorBounds = readRectangle(props, "LoopEditorBounds");
    audioEditorBounds = readRectangle(props, "AudioEditorBounds");
    lamePath = normaliseLAMEPath(props.getValue("LAMEPath"));
    additionalLatency = props.getIntValue("AdditionalLatency", 0);
}

void NVUserSettings::write(const juce::KnownPluginList& plugins, const juce::XmlElement* deviceState)
{
    if (properties == nullptr)
        return;
    auto& props = *properties;

    if (auto xml = plugins.createXml())
        props.setValue("pluginList", xml.get());
    props.saveIfNeeded();
    if (deviceState != nullptr)
    {
        props.setValue("audioSettings", deviceState);
        props.saveIfNeeded();
    }

    props.setValue("ExtMIDITool", extMIDITool);
    props.setValue("ExtAudioTool", extAudioTool);
    props.setValue("ForceMonoInput", forceMonoInput ? "1" : "0");
    props.setValue("MainWindowBounds", mainWindowBounds.toString());
    props.setValue("LoopEditorBounds", loopEditorBounds.toString());
    props.setValue("AudioEditorBounds", audioEditorBounds.toString());
    props.setValue("LAMEPath", normaliseLAMEPath(lamePath));
    props.setValue("AdditionalLatency", juce::String(additionalLatency));
}

void NVUserSettings::close()
{
    properties.reset();
}

juce::String NVUserSettings::resolveLAMEPath() const
{
    const auto stored = normaliseLAMEPath(lamePath);
    if (juce::File::isAbsolutePath(stored) && juce::File(stored).existsAsFile())
        return stored;
    if (stored == defaultLAMEPath)
    {
        const auto path = juce::SystemStats::getEnvironmentVariable("PATH", "/usr/bin:/bin");
        for (auto& dir : juce::StringArray::fromTokens(path, ":", ""))
        {
            auto candidate = juce::File::isAbsolutePath(dir) ? juce::File(dir).getChildFile("lame") : juce::File();
            if (candidate.existsAsFile())
                return candidate.getFullPathName();
        }
    }
    return stored;
}
