#include "sound/NVStrokeMapping.h"

juce::String NVStrokeMapping::getPitchName (int note)
{
    static const char* const pitchClasses[] = { "C", "C#", "D", "D#", "E", "F",
                                                "F#", "G", "G#", "A", "A#", "B" };
    if (note < 0)
        return {};
    return juce::String (pitchClasses[note % 12]) + juce::String (note / 12);
}

juce::StringArray NVStrokeMapping::getDefaultNames()
{
    juce::StringArray names;
    for (int note = 0; note < numNotes; ++note)
        names.add (getPitchName (note));
    return names;
}

juce::StringArray NVStrokeMapping::read (const juce::File& defFile)
{
    if (! defFile.existsAsFile())
        return getDefaultNames();

    juce::StringArray names;
    for (int note = 0; note < numNotes; ++note)
        names.add ({});

    juce::StringArray lines;
    lines.addLines (defFile.loadFileAsString());
    for (const auto& raw : lines)
    {
        const auto pieces = juce::StringArray::fromTokens (raw.trim(), ";", "");
        if (pieces.isEmpty())
            continue;
        // getIntValue skips leading white space and stops at the first non-digit.
        const int note = pieces[0].getIntValue();
        if (note > 0 && note < numNotes)
            names.set (note, pieces[1].trim());
    }
    return names;
}
