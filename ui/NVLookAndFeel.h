#pragma once
#include <juce_gui_basics/juce_gui_basics.h>

// The program's look-and-feel.
class NVLookAndFeel : public juce::LookAndFeel_V4
{
public:
    NVLookAndFeel();
};
