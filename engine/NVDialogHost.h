#pragma once
#include <juce_core/juce_core.h>

// Every question the program asks the user goes through this interface: the
// GUI shows real windows, tests and the command-line tool answer from a script.
class NVDialogHost
{
public:
    enum class Icon { none, info, warning, question };

    virtual ~NVDialogHost() = default;

    // Shows a message box with the given buttons ("OK", or "Yes"/"No"/"Cancel")
    // and returns the index of the button chosen; -1 when the box was dismissed.
    virtual int showMessageBox(Icon icon, const juce::String& title, const juce::String& text,
                               const juce::StringArray& buttons) = 0;

    // Asks for a file. Returns the chosen file, or a default File when cancelled.
    virtual juce::File chooseFile(bool forSaving, const juce::String& title,
                                  const juce::File& startFolder, const juce::String& patterns) = 0;

    // Shows or hides the busy (wait) cursor during long operations.
    virtual void setBusy(bool busy) = 0;

    // Progress of long work (saving, loading, converting): a modal window in
    // the GUI, a line on standard error in the command-line tool. A fraction
    // below 0 leaves the bar as it is.
    virtual void showProgress(const juce::String& title, const juce::String& message) = 0;
    virtual void setProgress(const juce::String& message, double fraction) = 0;
    virtual void hideProgress() = 0;
    // Lets the user interface run for about `milliseconds` between steps of long work.
    virtual void letInterfaceRun(int milliseconds) = 0;
};
