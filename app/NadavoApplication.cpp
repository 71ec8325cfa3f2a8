#include "app/NadavoApplication.h"

#include "app/NVMainWindow.h"
#include "engine/NVManager.h"
#include "ui/NVGuiDialogs.h"
#include "ui/NVLookAndFeel.h"

NadavoApplication::NadavoApplication()
{
    lookAndFeel = std::make_unique<NVLookAndFeel>();
    dialogs = std::make_unique<NVGuiDialogs>();
    auto* engine = NVManager::getInstance();
    engine->setDialogHost(dialogs.get());
    engine->newSong();
    juce::LookAndFeel::setDefaultLookAndFeel(lookAndFeel.get());
    mainWindow = std::make_unique<NVMainWindow>();
}

NadavoApplication::~NadavoApplication()
{
    mainWindow.reset();
    juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
    lookAndFeel.reset();
}

void NadavoApplication::initialise(const juce::String&)
{
    NVManager::getInstance()->initialiseAudio();
}

void NadavoApplication::shutdown()
{
    mainWindow.reset();
    NVManager::kill();
}
