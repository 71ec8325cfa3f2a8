#include "engine/NVScriptedDialogs.h"

int NVScriptedDialogs::showMessageBox(Icon icon, const juce::String& title, const juce::String& text,
                                      const juce::StringArray& buttons)
{
    questions.push_back({ icon, title, text, buttons });

    juce::String wanted = defaultAnswer;
    if (!answers.empty())
    {
        wanted = answers.front();
        answers.pop_front();
    }
    if (wanted.isEmpty())
        return buttons.isEmpty() ? -1 : 0;
    return buttons.indexOf(wanted);
}

juce::File NVScriptedDialogs::chooseFile(bool forSaving, const juce::String& title,
                                         const juce::File& startFolder, const juce::String& patterns)
{
    fileRequests.push_back({ Icon::none, title,
                             (forSaving ? "save " : "open ") + startFolder.getFullPathName(),
                             juce::StringArray(patterns) });
    if (files.empty())
        return {};
    auto file = files.front();
    files.pop_front();
    return file;
}
