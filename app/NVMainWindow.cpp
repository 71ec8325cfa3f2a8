#include "app/NVMainWindow.h"

#include "engine/NVManager.h"
#include "ui/NVMainPanel.h"

NVMainWindow::NVMainWindow()
    : juce::DocumentWindow("Nadavo Recorder", juce::Colours::lightgrey, juce::DocumentWindow::allButtons)
{
    mainPanel = new NVMainPanel();
    setContentOwned(mainPanel, true);
    setResizable(true, true);
    setMenuBar(mainPanel);

    const auto stored = NVManager::getInstance()->getSettings().mainWindowBounds;
    juce::Rectangle<int> userArea;
    if (auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay())
        userArea = display->userArea;

    if (auto bounds = usableStoredBounds(stored, userArea))
        setBounds(*bounds);
    else
        centreWithSize(defaultWidth, defaultHeight);
    setVisible(true);
}

NVMainWindow::~NVMainWindow()
{
    if (NVManager::exists())
        NVManager::getInstance()->getSettings().mainWindowBounds = getBounds();
    setMenuBar(nullptr);
    clearContentComponent();
}

std::optional<juce::Rectangle<int>> NVMainWindow::usableStoredBounds(juce::Rectangle<int> stored,
                                                                     juce::Rectangle<int> userArea)
{
    if (stored.getWidth() < 1)
        return std::nullopt;
    if (stored.getX() < userArea.getX() || stored.getY() < userArea.getY()
        || stored.getRight() > userArea.getRight() || stored.getBottom() > userArea.getBottom())
        return std::nullopt;
    return stored;
}

bool NVMainWindow::confirmClose(NVManager& engine)
{
    engine.setPlaybackMode(kStopped);
    return engine.optionallySaveSong();
}

void NVMainWindow::closeButtonPressed()
{
    if (confirmClose(*NVManager::getInstance()))
        juce::JUCEApplicationBase::quit();
}
