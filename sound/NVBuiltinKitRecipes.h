#pragma once

// Recipes for the strokes of the built-in percussion kits: membranes, closed
// slaps, metal, jingles, clay and wood, shaped after the instruments' physics.

#include "sound/NVBuiltinPatch.h"

#include <initializer_list>

namespace nvkit
{
/** Builds the recipe of one stroke. */
struct Stroke
{
    NVVoicePatch p;

    Stroke();
    Stroke& modes (float hz, std::initializer_list<float> ratios, std::initializer_list<float> gains,
                   std::initializer_list<float> decays);
    Stroke& glide (float semis, float seconds);
    Stroke& noise (float gain, float decay, float hz, float q);
    Stroke& rattle (float rate, float grainDecay);
    Stroke& click (float gain);
    Stroke& pan (float position);
    Stroke& heads (int heads, int damps);
    Stroke& level (float peak);
    Stroke& decayScale (float factor);
};

/** Two strokes played at once (the right hand's modes first, then the left's). */
Stroke both (const Stroke& right, const Stroke& left);

// Tabla: dayan (treble, harmonic overtones) and bayan (bass, pitch falling after the stroke).
Stroke tablaNa (float hz);
Stroke tablaTa (float hz);
Stroke tablaTin (float hz);
Stroke tablaTun (float hz);
Stroke tablaTi (float hz);
Stroke tablaGe (float hz);
Stroke tablaGhe (float hz);

// Other two-headed drums and frame drums.
Stroke closedTreble (float hz);
Stroke closedBass (float hz);
Stroke dholakTreble (float hz, float ring);
Stroke dholakBass (float hz, float glideSemis);
Stroke dholTihli (float hz);
Stroke dholDagga (float hz);
Stroke frameDrum (float hz, float ring);
Stroke frameEdge (float hz);
Stroke slap (float hz);
Stroke handDrum (float hz, float decay);
Stroke rimClick (float hz);

// Clay, metal, jingles, wood.
Stroke claypot (float hz, float ring);
Stroke claypotBoom (float hz);
Stroke metal (float hz, float decay);
Stroke jingles (float hz, float decay, float rate);
Stroke struckString (float hz);
Stroke wood (float hz, float decay);

// Drum-kit pieces.
Stroke kick (float hz, float decay);
Stroke snare (float hz, float decay);
Stroke clap();
Stroke tom (float hz);
Stroke hiHat (float decay);
Stroke cymbal (float hz, float decay);
Stroke cowbell();
Stroke timbale (float hz);
Stroke agogo (float hz);
Stroke shaker (float decay, float hz);
Stroke whistle (float hz, float length);
Stroke guiro (float length);
Stroke cuica (float hz, float decay);
Stroke triangle (float decay);
} // namespace nvkit
