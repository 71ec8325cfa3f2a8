#pragma once

#include <juce_core/juce_core.h>

/** The names of the 128 MIDI notes of a percussion engine: its strokes.

    A stroke-name file ("<engine name>.def" in the "Sound Engines" folder)
    holds one "note;name" entry per line, for example "36;DHA". Without such
    a file every note is named by its pitch ("C5" for note 60).
*/
struct NVStrokeMapping
{
    static constexpr int numNotes = 128;

    /** Exactly 128 names, index = note number.
        When `defFile` exists: the names it gives, every other entry empty.
        Lines whose note is 0 or less (blank lines, text, note 0) and notes
        of 128 and above change nothing; later lines win for the same note.
        When `defFile` doesn't exist: the default pitch names.
    */
    static juce::StringArray read (const juce::File& defFile);

    /** The pitch name of a note: "C0" for 0, "C#5" for 61, "G10" for 127. */
    static juce::String getPitchName (int note);

    /** 128 pitch names. */
    static juce::StringArray getDefaultNames();
};
