#pragma once

// The recipe of one sound of a built-in engine: a stroke of a percussion kit
// or the tone of a melodic instrument. A voice renders a note from a recipe.

#include <cstdint>

/** How a voice produces its tone. */
enum class NVSynthModel : uint8_t
{
    modal,  ///< decaying sinusoidal modes (drums, bells, struck strings, piano)
    pluck,  ///< a plucked string in a delay loop, optionally with a buzzing bridge
    analog, ///< band-limited oscillators, filter and envelope (reeds, winds, bowed, brass)
    fm      ///< two-operator frequency modulation (bells, electric tones)
};

/** A group of modes that shares one base frequency and one pitch glide. */
struct NVModeSet
{
    static constexpr int maxModes = 8;
    float hz = 0;            ///< base frequency; for pitched sounds a ratio of the note's frequency
    int count = 0;
    float ratio[maxModes] {};
    float gain[maxModes] {};
    float decay[maxModes] {};  ///< seconds to fall by 60 dB
    float glideSemis = 0;    ///< starting pitch offset that falls back to 0
    float glideTime = 0.05f; ///< time constant of that fall in seconds
};

struct NVVoicePatch
{
    NVSynthModel model = NVSynthModel::modal;
    bool pitched = true;     ///< mode frequencies follow the note (false: fixed, as kit strokes)
    NVModeSet modes[2];

    // Filtered noise (snare wires, jingles, breath of a stroke) and a short click.
    float noiseGain = 0, noiseDecay = 0.05f, noiseHz = 3000, noiseQ = 0.7f;
    float rattleRate = 0;    ///< > 0: the noise comes as grains at about this rate (jingles)
    float rattleDecay = 0.004f;
    float clickGain = 0;

    // Amplitude envelope (modal and pluck sounds only use attack and release).
    float attack = 0.001f, decay = 0.3f, sustain = 1.0f, release = 0.08f;

    // Analog oscillators.
    float saw = 0, square = 0, sine = 0, triangle = 0, pulseWidth = 0.5f;
    int unison = 1;
    float detuneCents = 0;
    float cutoff = 8.0f;     ///< low-pass cutoff as a multiple of the note frequency
    float cutoffEnv = 0;     ///< extra cutoff multiples at the envelope's peak
    float filterDecay = 0.3f;
    float resonance = 0.7f;
    float formant[3] {};     ///< when set, band-pass formants (Hz) replace the low-pass
    float breath = 0;        ///< noise around the note frequency (winds, bows)

    // Pluck.
    float brightness = 0.5f; ///< 0 dark .. 1 bright excitation and loop
    float ringTime = 3.0f;   ///< seconds to fall by 60 dB at middle C
    float jawari = 0;        ///< buzzing-bridge amount
    float pickPos = 0.15f;
    float drive = 0;         ///< soft saturation after the string

    // FM.
    float fmRatio = 1, fmIndex = 0, fmIndexEnd = 0, fmIndexDecay = 0.5f;

    // Modulation.
    float vibRate = 0, vibDepth = 0, vibDelay = 0; ///< Hz, semitones, seconds
    float tremRate = 0, tremDepth = 0;

    float gain = 0.3f;
    float pan = 0;           ///< -1 left .. 1 right
    int heads = 0;           ///< bit mask of the drum heads (or strings) the sound rings on
    int damps = 0;           ///< bit mask of the heads this sound silences when it starts
    float level = 0.5f;      ///< peak level at full velocity; sets `gain` when the table is built
    bool ignoresNoteOff = false;
};

/** Overall character changes a program applies to every sound of an engine. */
struct NVProgramShape
{
    const char* name = "Standard";
    float tuneSemis = 0;
    float decayScale = 1;
    float brightScale = 1;
    float vibratoScale = 1;
};
