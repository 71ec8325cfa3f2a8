#pragma once
#include <juce_gui_basics/juce_gui_basics.h>

// The content of the main window and its menu-bar model.
class NVMainPanel : public juce::Component, public juce::MenuBarModel
{
public:
    NVMainPanel();

    void paint(juce::Graphics& g) override;

    juce::StringArray getMenuBarNames() override { return {}; }
    juce::PopupMenu getMenuForIndex(int, const juce::String&) override { return {}; }
    void menuItemSelected(int, int) override {}
};
