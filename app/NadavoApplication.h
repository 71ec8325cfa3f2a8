#pragma once
#include <juce_gui_basics/juce_gui_basics.h>

class NVLookAndFeel;
class NVMainWindow;
class NVGuiDialogs;

class NadavoApplication : public juce::JUCEApplication
{
public:
    NadavoApplication();
    ~NadavoApplication() override;

    const juce::String getApplicationName() override { return "Nadavo"; }
    const juce::String getApplicationVersion() override { return "1.0.2"; }
    bool moreThanOneInstanceAllowed() override { return true; }
    void anotherInstanceStarted(const juce::String&) override {}

    void initialise(const juce::String& commandLine) override;
    void shutdown() override;
    void systemRequestedQuit() override { quit(); }

private:
    std::unique_ptr<NVLookAndFeel> lookAndFeel;
    std::unique_ptr<NVGuiDialogs> dialogs;
    std::unique_ptr<NVMainWindow> mainWindow;
};
