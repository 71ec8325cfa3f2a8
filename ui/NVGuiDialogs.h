#pragma once
#include "engine/NVDialogHost.h"

// Shows the engine's questions in real windows.
class NVGuiDialogs : public NVDialogHost
{
public:
    int showMessageBox(Icon icon, const juce::String& title, const juce::String& text,
                       const juce::StringArray& buttons) override;
    juce::File chooseFile(bool forSaving, const juce::String& title,
                          const juce::File& startFolder, const juce::String& patterns) override;
    void setBusy(bool busy) override;
};
