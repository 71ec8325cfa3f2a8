#pragma once
#include "engine/NVDialogHost.h"

#include <iosfwd>

// The command-line tool's dialog host: it never waits for the user. Message
// boxes are answered by a policy and reported on the error stream, file
// choosers give the file the command named (chooseNext) or are cancelled, and progress is one line rewritten in place
// ("\r<message> NN%"), ended with a newline when the work is done.
class NVConsoleDialogs : public NVDialogHost
{
public:
    explicit NVConsoleDialogs(std::ostream& err) : err(err) {}

    // The button a message box answers with: "OK" when offered, else
    // "Cancel" (so nothing is saved or thrown away behind the user's back),
    // else the first button.
    static int answerFor(const juce::StringArray& buttons);

    int showMessageBox(Icon icon, const juce::String& title, const juce::String& text,
                       const juce::StringArray& buttons) override;
    juce::File chooseFile(bool forSaving, const juce::String& title,
                          const juce::File& startFolder, const juce::String& patterns) override;
    void setBusy(bool) override {}
    void showProgress(const juce::String& title, const juce::String& message) override;
    void setProgress(const juce::String& message, double fraction) override;
    void hideProgress() override;
    void letInterfaceRun(int) override {}

    // The file the next file chooser gives, as the command's arguments named it.
    void chooseNext(const juce::File& file) { chosen = file; }

    // The titles of the message boxes shown so far.
    const juce::StringArray& getTitlesShown() const { return titles; }

private:
    void printProgress();

    std::ostream& err;
    juce::StringArray titles;
    juce::File chosen;
    juce::String message;
    double fraction = 0.0;
    bool showing = false;
    int lastLength = 0;
};
