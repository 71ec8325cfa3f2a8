#pragma once

#include <juce_core/juce_core.h>

#include "sound/NVBuiltinPatch.h"

#include <array>
#include <vector>

/** One stroke of a percussion kit: the note that plays it, its name and its sound. */
struct NVKitStroke
{
    int note = 0;
    juce::String name;
    NVVoicePatch patch;
};

/** A percussion kit of the built-in engines. */
struct NVKit
{
    juce::String engineName;
    std::vector<NVKitStroke> strokes;
    std::array<int, 128> strokeForNote; ///< index into `strokes`, -1 for a silent note

    const NVKitStroke* strokeFor (int note) const noexcept
    {
        if (note < 0 || note > 127 || strokeForNote[(size_t) note] < 0)
            return nullptr;
        return &strokes[(size_t) strokeForNote[(size_t) note]];
    }
};

/** The table of the built-in kits, the single source of their stroke names. */
class NVBuiltinKits
{
public:
    static const NVKit* find (const juce::String& engineName);
    static juce::StringArray getNames();
    /** The stroke-name file of a kit: one "<note>;<NAME>" line per stroke, by note. */
    static juce::String makeStrokeNameText (const NVKit&);
};
