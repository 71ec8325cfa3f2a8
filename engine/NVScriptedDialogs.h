#pragma once
#include "engine/NVDialogHost.h"

#include <deque>
#include <vector>

// Answers questions from a prepared script and records every question asked.
// When the script is empty, a message box answers with its default button
// (the first; for Yes/No/Cancel that is "Yes" unless a policy says otherwise)
// and a file chooser is cancelled.
class NVScriptedDialogs : public NVDialogHost
{
public:
    struct Question
    {
        Icon icon = Icon::none;
        juce::String title;
        juce::String text;
        juce::StringArray buttons;
    };

    // Queue the button that the next message box answers with (by its text).
    void answerNext(const juce::String& buttonText) { answers.push_back(buttonText); }
    // Queue the file that the next file chooser returns (a default File cancels).
    void chooseNext(const juce::File& file) { files.push_back(file); }
    // The button pressed when no answer is queued: its text, or empty for the first button.
    void setDefaultAnswer(const juce::String& buttonText) { defaultAnswer = buttonText; }

    const std::vector<Question>& getQuestions() const { return questions; }
    const std::vector<Question>& getFileRequests() const { return fileRequests; }
    void clearRecord() { questions.clear(); fileRequests.clear(); }
    bool isBusy() const { return busy; }

    int showMessageBox(Icon icon, const juce::String& title, const juce::String& text,
                       const juce::StringArray& buttons) override;
    juce::File chooseFile(bool forSaving, const juce::String& title,
                          const juce::File& startFolder, const juce::String& patterns) override;
    void setBusy(bool b) override { busy = b; }

    // Progress is recorded as lines: "show <title>: <message>", "set <message> <fraction>", "hide".
    void showProgress(const juce::String& title, const juce::String& message) override
    {
        progress.push_back("show " + title + ": " + message);
    }
    void setProgress(const juce::String& message, double fraction) override
    {
        progress.push_back("set " + message + " " + juce::String(fraction, 3));
    }
    void hideProgress() override { progress.push_back("hide"); }
    void letInterfaceRun(int) override {}
    const std::vector<juce::String>& getProgress() const { return progress; }

private:
    std::deque<juce::String> answers;
    std::deque<juce::File> files;
    juce::String defaultAnswer;
    std::vector<Question> questions;
    std::vector<Question> fileRequests;
    std::vector<juce::String> progress;
    bool busy = false;
};
