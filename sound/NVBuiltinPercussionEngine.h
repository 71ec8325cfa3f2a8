#pragma once

#include "sound/NVBuiltinEngine.h"
#include "sound/NVBuiltinKits.h"

/** A built-in percussion kit: each note plays one stroke; the pitch wheel
    shifts the whole kit; strokes ring out regardless of note-offs. */
class NVBuiltinPercussionEngine : public NVBuiltinEngine
{
public:
    NVBuiltinPercussionEngine (const NVKit& kit, const juce::String& fileOrIdentifier);

    const NVKit& getKit() const noexcept { return kit; }

protected:
    const NVVoicePatch* findPatch (int note, float& hz) const override;
    float retriggerFadeSeconds() const override { return 0.25f; }

private:
    const NVKit& kit;
};
