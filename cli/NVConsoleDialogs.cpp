#include "cli/NVConsoleDialogs.h"

#include <ostream>

int NVConsoleDialogs::answerFor(const juce::StringArray& buttons)
{
    for (const char* preferred : { "OK", "Cancel" })
        if (buttons.contains(preferred))
            return buttons.indexOf(preferred);
    return buttons.isEmpty() ? -1 : 0;
}

int NVConsoleDialogs::showMessageBox(Icon, const juce::String& title, const juce::String& text,
                                     const juce::StringArray& buttons)
{
    titles.add(title);
    if (showing)
    {
        err << "\n"; // keep the progress line whole
        lastLength = 0;
    }
    const int answer = answerFor(buttons);
    err << "nadavo: " << title << ": " << text;
    if (buttons.size() > 1 && answer >= 0)
        err << " [" << buttons[answer] << "]";
    err << "\n";
    if (showing)
        printProgress();
    return answer;
}

juce::File NVConsoleDialogs::chooseFile(bool, const juce::String& title, const juce::File&, const juce::String&)
{
    if (chosen != juce::File())
    {
        const auto file = chosen;
        chosen = juce::File();
        return file;
    }
    err << "nadavo: " << title << " (no file chooser here: cancelled)\n";
    return {};
}

void NVConsoleDialogs::showProgress(const juce::String&, const juce::String& text)
{
    showing = true;
    message = text;
    fraction = 0.0;
    printProgress();
}

void NVConsoleDialogs::setProgress(const juce::String& text, double newFraction)
{
    message = text;
    if (newFraction >= 0.0)
        fraction = juce::jlimit(0.0, 1.0, newFraction);
    if (showing)
        printProgress();
}

void NVConsoleDialogs::hideProgress()
{
    if (!showing)
        return;
    showing = false;
    lastLength = 0;
    err << "\n";
    err.flush();
}

void NVConsoleDialogs::printProgress()
{
    auto line = message + " " + juce::String(juce::roundToInt(fraction * 100.0)) + "%";
    const int length = line.length();
    if (length < lastLength)
        line += juce::String::repeatedString(" ", lastLength - length); // cover the longer line before
    lastLength = length;
    err << "\r" << line << std::flush;
}
