#pragma once

#include "sound/NVBuiltinDsp.h"
#include "sound/NVBuiltinPatch.h"

#include <cstdint>
#include <vector>

/** What a voice needs to start a note. The patch must outlive the voice's use of it. */
struct NVNoteStart
{
    const NVVoicePatch* patch = nullptr;
    int note = 60;
    float hz = 261.63f;      ///< the note's frequency (pitched patches)
    float velocity = 1.0f;   ///< 0..1
    NVProgramShape shape;
};

/** One voice of a built-in engine. All memory is reserved on construction;
    starting, stopping and rendering never allocate. */
class NVBuiltinVoice
{
public:
    NVBuiltinVoice();

    void setSampleRate (float newRate);

    void start (const NVNoteStart& note, uint32_t order);
    /** Fades the current sound out over a few milliseconds, then starts `note`. */
    void steal (const NVNoteStart& note, uint32_t order);
    void noteOff();
    /** Releases within `seconds` whatever the patch says (choke, all-sound-off). */
    void fastRelease (float seconds);
    /** Silence at once. */
    void kill();

    bool isActive() const noexcept    { return stage != Stage::idle; }
    bool isReleasing() const noexcept { return stage == Stage::release || stage == Stage::stealFade; }
    bool isStealing() const noexcept  { return stage == Stage::stealFade; }
    int getNote() const noexcept      { return current.note; }
    int getHeads() const noexcept     { return patch != nullptr ? patch->heads : 0; }
    bool ignoresNoteOff() const noexcept { return patch != nullptr && patch->ignoresNoteOff; }
    uint32_t getOrder() const noexcept { return order; }

    /** The peak a patch reaches over its first `seconds` at full velocity and unit gain;
        used to level the sounds of a table when it is built. */
    static float measurePeak (const NVVoicePatch& patch, float hz, float seconds, float sampleRate = 44100.0f);

    /** Adds the next `numSamples` of the voice to `left` and `right`. */
    void render (float* left, float* right, int numSamples, float bendRatio) noexcept;

private:
    enum class Stage { idle, attack, decay, sustain, release, stealFade };

    void setUpModal();
    void setUpPluck();
    void setUpAnalog();
    void setUpFm();
    float nextEnvelope() noexcept;
    float modalSample (float bendRatio) noexcept;
    float noiseSample() noexcept;
    float pluckSample (float bendRatio) noexcept;
    float analogSample (float bendRatio, int sampleIndex) noexcept;
    float fmSample (float bendRatio) noexcept;
    float vibratoFactor() noexcept;

    static constexpr int maxModes = 2 * NVModeSet::maxModes;
    static constexpr int maxUnison = 3;

    float sampleRate = 44100.0f;
    const NVVoicePatch* patch = nullptr;
    NVNoteStart current, pending;
    uint32_t order = 0, pendingOrder = 0;
    float velocityGain = 0, bright = 1, panLeft = 1, panRight = 1, tuneRatio = 1;

    Stage stage = Stage::idle;
    float level = 0, attackStep = 1, decayMult = 0, releaseMult = 0, sustainLevel = 1, fadeStep = 0;
    int samplesPlayed = 0;

    // Modal.
    int numModes = 0;
    float modePhase[maxModes] {}, modeInc[maxModes] {}, modeAmp[maxModes] {}, modeMult[maxModes] {};
    int modeLayer[maxModes] {};
    float glideEnv[2] {}, glideMult[2] {}, glideDepth[2] {};

    // Noise, rattle and click.
    nvdsp::Noise noise;
    nvdsp::Svf noiseFilter;
    float noiseAmp = 0, noiseMult = 0, grainEnv = 0, grainMult = 0, clickAmp = 0, clickMult = 0;
    int grainCountdown = 0;

    // Pluck.
    std::vector<float> line;
    int writePos = 0;
    float delay = 100, loopGain = 0.99f, loopDamp = 0.5f, loopPrev = 0, jawariLevel = 0, pluckPeak = 0;

    // Analog.
    float oscPhase[maxUnison] {}, oscDetune[maxUnison] {};
    nvdsp::Svf filter, formants[3], breathFilter;
    float filterEnv = 0, filterEnvMult = 0;
    float vibPhase = 0, tremPhase = 0;

    // FM.
    float carrierPhase = 0, modPhase = 0, fmEnv = 0, fmEnvMult = 0;
};
