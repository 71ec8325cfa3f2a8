#pragma once

#include "sound/NVBuiltinEngine.h"
#include "sound/NVBuiltinInstruments.h"
#include "sound/NVBuiltinSympathetic.h"

/** A built-in pitched instrument: every note plays the instrument's tone at its pitch. */
class NVBuiltinMelodicEngine : public NVBuiltinEngine
{
public:
    NVBuiltinMelodicEngine (const NVInstrumentSound& sound, const juce::String& fileOrIdentifier);

protected:
    const NVVoicePatch* findPatch (int note, float& hz) const override;
    void prepareEffects (double sampleRate) override;
    void renderEffects (float* left, float* right, int numSamples) noexcept override;
    void resetEffects() noexcept override;
    void silenceEffects() noexcept override { sympathetic.fadeOut(); }

private:
    const NVInstrumentSound& sound;
    NVBuiltinSympathetic sympathetic;
};
