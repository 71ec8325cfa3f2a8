#pragma once
#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

class NVMainPanel;
class NVManager;

// The main document window, titled "Nadavo Recorder", holding the main panel.
class NVMainWindow : public juce::DocumentWindow
{
public:
    static constexpr int defaultWidth = 790;
    static constexpr int defaultHeight = 539;

    NVMainWindow();
    ~NVMainWindow() override;

    void closeButtonPressed() override;

    // What the close button does before the program quits: stops playback and
    // asks about a modified song. True when the program may quit.
    static bool confirmClose(NVManager& engine);

    // The stored bounds when they are usable: at least one pixel wide and wholly
    // inside the display's user area. Otherwise the window is centred at the default size.
    static std::optional<juce::Rectangle<int>> usableStoredBounds(juce::Rectangle<int> stored,
                                                                  juce::Rectangle<int> userArea);

private:
    NVMainPanel* mainPanel = nullptr; // owned by the window as its content

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(NVMainWindow)
};
