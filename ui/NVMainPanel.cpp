#include "ui/NVMainPanel.h"

NVMainPanel::NVMainPanel()
{
    setName("MainPanel");
    setSize(790, 539);
}

void NVMainPanel::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::lightgrey);
}
