#include "cli/NVCommandLine.h"

#include <juce_events/juce_events.h>

#include <iostream>

int main(int argc, char* argv[])
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add(juce::String::fromUTF8(argv[i]));

    // Version, help and usage errors need no engine.
    if (args.isEmpty() || args[0].startsWith("-") || args[0] == "help" || args[0] == "version")
        return NVCommandLine(std::cout, std::cerr).run(args);

    juce::ScopedJuceInitialiser_GUI juce;
    return NVCommandLine(std::cout, std::cerr).run(args);
}
