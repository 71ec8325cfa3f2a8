#pragma once
#include <juce_audio_processors/juce_audio_processors.h>

// The engine's per-user settings file: plug-in list, audio device state,
// external editors, mono input, window bounds, MP3 encoder and latency.
// Read once at start-up and written once at exit.
class NVUserSettings
{
public:
    static constexpr const char* defaultLAMEPath = "/usr/local/bin/lame";

    NVUserSettings();
    ~NVUserSettings();

    // The settings file: "Nadavo Recorder.settings" in the configuration folder.
    static juce::File getSettingsFile();

    // Opens the file and reads every key in order. A missing or unreadable file
    // leaves every value at its default.
    void read(juce::KnownPluginList& plugins);
    // Writes the plug-in list and device state (saved at once), then the other keys.
    void write(const juce::KnownPluginList& plugins, const juce::XmlElement* deviceState);
    // Destroys the properties object, which saves the remaining keys.
    void close();

    // The encoder to run: the stored path, or `lame` from the PATH when the
    // stored file is missing.
    juce::String resolveLAMEPath() const;
    static juce::String normaliseLAMEPath(const juce::String& path);

    std::unique_ptr<juce::XmlElement> audioSettings; // between start-up and device initialisation
    juce::String extMIDITool;
    juce::String extAudioTool;
    bool forceMonoInput = false;
    juce::Rectangle<int> mainWindowBounds;
    juce::Rectangle<int> loopEditorBounds;
    juce::Rectangle<int> audioEditorBounds;
    juce::String lamePath { defaultLAMEPath };
    int additionalLatency = 0;

private:
    std::unique_ptr<juce::PropertiesFile> properties;
};
