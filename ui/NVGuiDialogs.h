#pragma once
#include "engine/NVDialogHost.h"

#include <juce_gui_basics/juce_gui_basics.h>

// Shows the engine's questions in real windows.
class NVGuiDialogs : public NVDialogHost
{
public:
    int showMessageBox(Icon icon, const juce::String& title, const juce::String& text,
                       const juce::StringArray& buttons) override;
    juce::File chooseFile(bool forSaving, const juce::String& title,
                          const juce::File& startFolder, const juce::String& patterns) override;
    void setBusy(bool busy) override;
    void showProgress(const juce::String& title, const juce::String& message) override;
    void setProgress(const juce::String& message, double fraction) override;
    void hideProgress() override;
    void letInterfaceRun(int milliseconds) override;

private:
    std::unique_ptr<juce::AlertWindow> progressWindow;
    double progressValue = 0.0;
};
