#include "sound/NVBuiltinMelodicEngine.h"

NVBuiltinMelodicEngine::NVBuiltinMelodicEngine (const NVInstrumentSound& s, const juce::String& fileOrIdentifier)
    : NVBuiltinEngine (s.engineName, fileOrIdentifier, s.voices, s.programs), sound (s)
{
    if (sound.sympathetic > 0)
        sympathetic.prepare (44100.0);
}

const NVVoicePatch* NVBuiltinMelodicEngine::findPatch (int note, float& hz) const
{
    hz = nvdsp::noteHz ((float) note);
    return &sound.patch;
}

void NVBuiltinMelodicEngine::prepareEffects (double sampleRate)
{
    if (sound.sympathetic > 0)
        sympathetic.prepare (sampleRate);
}

void NVBuiltinMelodicEngine::renderEffects (float* left, float* right, int numSamples) noexcept
{
    sympathetic.process (left, right, numSamples, sound.sympathetic);
}

void NVBuiltinMelodicEngine::resetEffects() noexcept
{
    sympathetic.reset();
}
