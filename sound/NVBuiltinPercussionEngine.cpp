#include "sound/NVBuiltinPercussionEngine.h"

namespace
{
std::vector<NVProgramShape> kitPrograms()
{
    return { { "Standard", 0, 1, 1, 1 },
             { "Tuned Up", 2, 0.9f, 1.1f, 1 },
             { "Tuned Down", -2, 1.15f, 0.9f, 1 },
             { "Dry", 0, 0.5f, 1, 1 },
             { "Bright", 0, 1, 1.35f, 1 } };
}
} // namespace

NVBuiltinPercussionEngine::NVBuiltinPercussionEngine (const NVKit& k, const juce::String& fileOrIdentifier)
    : NVBuiltinEngine (k.engineName, fileOrIdentifier, 32, kitPrograms()), kit (k)
{
}

const NVVoicePatch* NVBuiltinPercussionEngine::findPatch (int note, float& hz) const
{
    const auto* stroke = kit.strokeFor (note);
    if (stroke == nullptr)
        return nullptr;
    hz = nvdsp::noteHz ((float) note);
    return &stroke->patch;
}
