#pragma once
#include <juce_core/juce_core.h>

#include <iosfwd>

// The command-line tool: runs one command and returns the process exit code
// (0 done, 1 failed, 2 usage error).
class NVCommandLine
{
public:
    NVCommandLine(std::ostream& out, std::ostream& err) : out(out), err(err) {}

    int run(const juce::StringArray& args);

    static const char* version() { return "1.0.2"; }
    static const char* usage() { return "usage: nadavo [--version | --help | <command> [arguments]]"; }

private:
    int usageError(const juce::String& message);
    int printHelp();
    int printPaths();
    int listDevices();
    int listEngines();
    int renderNote(const juce::StringArray& args);

    std::ostream& out;
    std::ostream& err;
};
