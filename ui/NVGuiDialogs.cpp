#include "ui/NVGuiDialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
    juce::MessageBoxIconType toIconType(NVDialogHost::Icon icon)
    {
        switch (icon)
        {
            case NVDialogHost::Icon::info: return juce::MessageBoxIconType::InfoIcon;
            case NVDialogHost::Icon::warning: return juce::MessageBoxIconType::WarningIcon;
            case NVDialogHost::Icon::question: return juce::MessageBoxIconType::QuestionIcon;
            case NVDialogHost::Icon::none: break;
        }
        return juce::MessageBoxIconType::NoIcon;
    }
}

int NVGuiDialogs::showMessageBox(Icon icon, const juce::String& title, const juce::String& text,
                                 const juce::StringArray& buttons)
{
    juce::AlertWindow window(title, text, toIconType(icon));
    for (int i = 0; i < buttons.size(); ++i)
    {
        const auto key = i == 0 ? juce::KeyPress(juce::KeyPress::returnKey)
                                : (i == buttons.size() - 1 ? juce::KeyPress(juce::KeyPress::escapeKey) : juce::KeyPress());
        window.addButton(buttons[i], i + 1, key);
    }
    const int result = window.runModalLoop();
    return result - 1; // 0 means dismissed
}

juce::File NVGuiDialogs::chooseFile(bool forSaving, const juce::String& title,
                                    const juce::File& startFolder, const juce::String& patterns)
{
    juce::FileChooser chooser(title, startFolder, patterns);
    if (forSaving ? chooser.browseForFileToSave(true) : chooser.browseForFileToOpen())
        return chooser.getResult();
    return {};
}

void NVGuiDialogs::setBusy(bool busy)
{
    const auto show = [busy]
    {
        if (busy)
            juce::MouseCursor::showWaitCursor();
        else
            juce::MouseCursor::hideWaitCursor();
    };
    // Long work may run on a thread of its own (an export); the cursor is the message thread's.
    if (auto* mm = juce::MessageManager::getInstanceWithoutCreating(); mm != nullptr && !mm->isThisTheMessageThread())
        juce::MessageManager::callAsync(show);
    else
        show();
}

void NVGuiDialogs::showProgress(const juce::String& title, const juce::String& message)
{
    hideProgress();
    progressValue = 0.0;
    progressWindow = std::make_unique<juce::AlertWindow>(title, message, juce::MessageBoxIconType::NoIcon);
    progressWindow->addProgressBarComponent(progressValue);
    progressWindow->enterModalState();
    progressWindow->setVisible(true);
}

void NVGuiDialogs::setProgress(const juce::String& message, double fraction)
{
    if (progressWindow == nullptr)
        return;
    progressWindow->setMessage(message);
    if (fraction >= 0.0)
        progressValue = fraction;
}

void NVGuiDialogs::hideProgress()
{
    if (progressWindow != nullptr)
        progressWindow->exitModalState(0);
    progressWindow.reset();
}

void NVGuiDialogs::letInterfaceRun(int milliseconds)
{
    if (auto* mm = juce::MessageManager::getInstanceWithoutCreating(); mm != nullptr && mm->isThisTheMessageThread())
        mm->runDispatchLoopUntil(milliseconds);
}
