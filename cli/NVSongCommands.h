#pragma once
#include <juce_core/juce_core.h>

#include <iosfwd>

// The command-line tool's song commands: `info`, `render` and `new`. Each
// runs the engine in a scratch home of its own and returns the exit code
// (0 done, 1 failed, 2 usage error); nothing is written on failure.
class NVSongCommands
{
public:
    NVSongCommands(std::ostream& out, std::ostream& err) : out(out), err(err) {}

    int info(const juce::StringArray& args);
    int render(const juce::StringArray& args);
    int makeSong(const juce::StringArray& args);

private:
    struct Session;

    int usageError(const juce::String& message);
    // Whether the file is a zip with a "Main.nvc"; says why not on the error stream.
    bool checkArchive(const juce::File& file);
    bool parseNumber(const juce::String& option, const juce::String& text, int low, int high, int& value);

    std::ostream& out;
    std::ostream& err;
};
