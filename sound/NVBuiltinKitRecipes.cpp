#include "sound/NVBuiltinKitRecipes.h"

#include <algorithm>
#include <cmath>

namespace nvkit
{
namespace
{
constexpr float membrane[] = { 1.0f, 1.593f, 2.135f, 2.295f, 2.653f, 2.917f, 3.155f, 3.5f };
constexpr float metalRatios[] = { 1.0f, 1.47f, 2.09f, 2.56f, 3.18f, 3.93f, 4.61f, 5.35f };
constexpr int treble = 1, bass = 2;
} // namespace

Stroke::Stroke()
{
    p.model = NVSynthModel::modal;
    p.pitched = false;
    p.ignoresNoteOff = true;
    p.attack = 0.0008f;
    p.release = 0.05f;
    p.level = 0.5f;
}

Stroke& Stroke::modes (float hz, std::initializer_list<float> ratios, std::initializer_list<float> gains,
                       std::initializer_list<float> decays)
{
    auto& set = p.modes[0].count == 0 ? p.modes[0] : p.modes[1];
    set.hz = hz;
    set.count = std::min ((int) ratios.size(), NVModeSet::maxModes);
    for (int i = 0; i < set.count; ++i)
    {
        set.ratio[i] = ratios.begin()[i];
        set.gain[i] = gains.begin()[std::min (i, (int) gains.size() - 1)];
        set.decay[i] = decays.begin()[std::min (i, (int) decays.size() - 1)];
    }
    return *this;
}

Stroke& Stroke::glide (float semis, float seconds)
{
    p.modes[0].glideSemis = semis;
    p.modes[0].glideTime = seconds;
    return *this;
}

Stroke& Stroke::noise (float gain, float decay, float hz, float q)
{
    p.noiseGain = gain;
    p.noiseDecay = decay;
    p.noiseHz = hz;
    p.noiseQ = q;
    return *this;
}

Stroke& Stroke::rattle (float rate, float grainDecay)
{
    p.rattleRate = rate;
    p.rattleDecay = grainDecay;
    return *this;
}

Stroke& Stroke::click (float gain)   { p.clickGain = gain; return *this; }
Stroke& Stroke::pan (float position) { p.pan = position; return *this; }
Stroke& Stroke::level (float peak)   { p.level = peak; return *this; }

Stroke& Stroke::heads (int h, int d)
{
    p.heads = h;
    p.damps = d;
    return *this;
}

Stroke& Stroke::decayScale (float factor)
{
    for (auto& set : p.modes)
        for (int i = 0; i < set.count; ++i)
            set.decay[i] *= factor;
    p.noiseDecay *= factor;
    return *this;
}

Stroke both (const Stroke& right, const Stroke& left)
{
    Stroke s = right;
    s.p.modes[1] = left.p.modes[0];
    if (left.p.noiseGain > right.p.noiseGain)
    {
        s.p.noiseGain = left.p.noiseGain;
        s.p.noiseDecay = left.p.noiseDecay;
        s.p.noiseHz = left.p.noiseHz;
        s.p.noiseQ = left.p.noiseQ;
        s.p.rattleRate = left.p.rattleRate;
        s.p.rattleDecay = left.p.rattleDecay;
    }
    s.p.clickGain = std::max (right.p.clickGain, left.p.clickGain);
    s.p.heads = right.p.heads | left.p.heads;
    s.p.damps = 0;
    s.p.pan = 0.5f * (right.p.pan + left.p.pan);
    s.p.level = std::max (right.p.level, left.p.level) * 1.15f;
    return s;
}

//==============================================================================
Stroke tablaNa (float hz)
{
    return Stroke().modes (hz, { 1, 2, 3, 4, 5, 6 }, { 0.45f, 1, 0.8f, 0.55f, 0.35f, 0.2f },
                           { 0.35f, 0.8f, 0.6f, 0.45f, 0.35f, 0.25f })
        .click (0.25f).noise (0.15f, 0.015f, 3500, 1.0f).heads (treble, 0).pan (0.15f);
}

Stroke tablaTa (float hz)
{
    return Stroke().modes (hz, { 1, 2, 3, 4, 5, 6 }, { 0.3f, 0.8f, 1, 0.7f, 0.4f, 0.25f },
                           { 0.25f, 0.55f, 0.45f, 0.35f, 0.25f, 0.2f })
        .click (0.35f).noise (0.2f, 0.015f, 4000, 1.0f).heads (treble, 0).pan (0.15f);
}

Stroke tablaTin (float hz)
{
    return Stroke().modes (hz, { 1, 2, 3, 4 }, { 1, 0.45f, 0.25f, 0.1f }, { 0.9f, 0.6f, 0.4f, 0.3f })
        .click (0.15f).noise (0.1f, 0.01f, 3000, 1.0f).heads (treble, 0).pan (0.15f);
}

Stroke tablaTun (float hz)
{
    return Stroke().modes (hz, { 1, 2, 3 }, { 1, 0.2f, 0.08f }, { 1.6f, 0.8f, 0.5f })
        .click (0.1f).noise (0.1f, 0.02f, 800, 1.0f).heads (treble, 0).pan (0.15f);
}

Stroke tablaTi (float hz)
{
    return Stroke().modes (hz, { 1, 2, 3, 4 }, { 0.6f, 0.7f, 0.5f, 0.3f }, { 0.12f, 0.1f, 0.08f, 0.06f })
        .click (0.3f).noise (0.25f, 0.02f, 3000, 1.0f).heads (treble, 0).pan (0.15f);
}

Stroke tablaGe (float hz)
{
    return Stroke().modes (hz, { 1, 2, 3 }, { 1, 0.35f, 0.12f }, { 0.9f, 0.5f, 0.3f })
        .glide (4, 0.09f).noise (0.2f, 0.03f, 250, 1.0f).click (0.1f).heads (bass, 0).pan (-0.15f);
}

Stroke tablaGhe (float hz)
{
    return tablaGe (hz * 0.97f).glide (7, 0.15f).decayScale (1.4f);
}

Stroke closedTreble (float hz)
{
    return Stroke().modes (hz, { 1, 1.593f, 2.135f, 2.653f }, { 1, 0.6f, 0.4f, 0.3f }, { 0.04f })
        .noise (0.5f, 0.025f, 2800, 1.0f).click (0.4f).pan (0.15f).level (0.4f);
}

Stroke closedBass (float hz)
{
    return Stroke().modes (hz, { 1, 1.593f, 2.135f }, { 1, 0.5f, 0.3f }, { 0.07f })
        .noise (0.35f, 0.04f, 500, 1.0f).click (0.25f).pan (-0.15f).level (0.4f);
}

Stroke dholakTreble (float hz, float ring)
{
    return Stroke().modes (hz, { membrane[0], membrane[1], membrane[2], membrane[3], membrane[4], membrane[5] },
                           { 1, 0.7f, 0.5f, 0.4f, 0.3f, 0.2f },
                           { ring, ring * 0.7f, ring * 0.5f, ring * 0.4f, ring * 0.3f, ring * 0.25f })
        .click (0.35f).noise (0.2f, 0.02f, 3000, 1.0f).heads (treble, 0).pan (0.2f);
}

Stroke dholakBass (float hz, float glideSemis)
{
    return Stroke().modes (hz, { membrane[0], membrane[1], membrane[2] }, { 1, 0.35f, 0.15f }, { 0.7f, 0.35f, 0.2f })
        .glide (glideSemis, 0.1f).noise (0.25f, 0.03f, 300, 1.0f).click (0.15f).heads (bass, 0).pan (-0.2f);
}

Stroke dholTihli (float hz)
{
    return Stroke().modes (hz, { membrane[0], membrane[1], membrane[2], membrane[4], membrane[6] },
                           { 0.8f, 0.7f, 0.6f, 0.5f, 0.3f }, { 0.3f, 0.2f, 0.15f, 0.12f, 0.1f })
        .click (0.8f).noise (0.5f, 0.04f, 4000, 0.9f).heads (treble, 0).pan (0.25f);
}

Stroke dholDagga (float hz)
{
    return Stroke().modes (hz, { membrane[0], membrane[1], membrane[2] }, { 1, 0.4f, 0.2f }, { 0.9f, 0.4f, 0.25f })
        .glide (6, 0.06f).noise (0.3f, 0.05f, 180, 0.8f).click (0.3f).heads (bass, 0).pan (-0.2f).level (0.6f);
}

Stroke frameDrum (float hz, float ring)
{
    return Stroke().modes (hz, { membrane[0], membrane[1], membrane[2], membrane[3] }, { 1, 0.5f, 0.3f, 0.2f },
                           { ring, ring * 0.6f, ring * 0.45f, ring * 0.35f })
        .noise (0.2f, 0.03f, 400, 0.8f).click (0.15f).heads (bass, 0);
}

Stroke frameEdge (float hz)
{
    return Stroke().modes (hz, { membrane[0], membrane[1], membrane[2], membrane[4] }, { 0.7f, 1, 0.7f, 0.4f },
                           { 0.25f, 0.18f, 0.12f, 0.1f })
        .click (0.5f).noise (0.35f, 0.03f, 3500, 1.0f).heads (treble, 0).pan (0.2f);
}

Stroke slap (float hz)
{
    return Stroke().modes (hz, { membrane[0], membrane[1], membrane[2] }, { 0.7f, 0.5f, 0.4f }, { 0.06f })
        .noise (0.8f, 0.05f, 2000, 0.7f).click (0.6f);
}

Stroke handDrum (float hz, float decay)
{
    return Stroke().modes (hz, { membrane[0], membrane[1], membrane[2] }, { 1, 0.35f, 0.2f },
                           { decay, decay * 0.5f, decay * 0.4f })
        .glide (2, 0.02f).click (0.35f).noise (0.25f, 0.02f, hz * 6, 1.0f);
}

Stroke rimClick (float hz)
{
    return Stroke().modes (hz, { 1, 1.7f, 2.9f }, { 1, 0.6f, 0.4f }, { 0.03f })
        .click (0.7f).noise (0.3f, 0.02f, hz * 2, 1.5f).level (0.4f);
}

//==============================================================================
Stroke claypot (float hz, float ring)
{
    return Stroke().modes (hz, { 1, 2.32f, 3.8f, 5.1f, 6.6f }, { 1, 0.5f, 0.3f, 0.15f, 0.1f },
                           { ring, ring * 0.6f, ring * 0.4f, ring * 0.3f, ring * 0.2f })
        .click (0.35f).noise (0.25f, 0.02f, 2500, 1.0f).pan (0.1f);
}

Stroke claypotBoom (float hz)
{
    return Stroke().modes (hz, { 1, 2.1f }, { 1, 0.2f }, { 0.35f, 0.2f })
        .glide (3, 0.05f).noise (0.3f, 0.05f, 150, 0.7f).click (0.2f).pan (-0.1f).level (0.55f);
}

Stroke metal (float hz, float decay)
{
    Stroke s;
    s.modes (hz, { metalRatios[0], metalRatios[1], metalRatios[2], metalRatios[3], metalRatios[4],
                   metalRatios[5], metalRatios[6], metalRatios[7] },
             { 1, 0.8f, 0.7f, 0.6f, 0.45f, 0.35f, 0.25f, 0.2f },
             { decay, decay * 0.9f, decay * 0.8f, decay * 0.7f, decay * 0.6f, decay * 0.5f, decay * 0.45f, decay * 0.4f });
    return s.noise (0.15f, decay * 0.3f, hz * 3, 0.8f).click (0.2f).level (0.4f);
}

Stroke jingles (float hz, float decay, float rate)
{
    // Small zils: a few high inharmonic rings and bursts of bright noise as the jingles collide.
    return Stroke().modes (hz * 0.55f, { 1, 1.37f, 1.83f, 2.41f }, { 0.3f, 0.25f, 0.2f, 0.15f },
                           { decay * 0.8f, decay * 0.7f, decay * 0.6f, decay * 0.5f })
        .noise (1.0f, decay, hz, 0.9f).rattle (rate, 0.004f).level (0.4f);
}

Stroke struckString (float hz)
{
    // A course of two strings a few cents apart, slightly stretched overtones.
    Stroke s;
    for (int layer = 0; layer < 2; ++layer)
    {
        const float base = layer == 0 ? hz : hz * 1.0025f;
        const float g = layer == 0 ? 1.0f : 0.7f;
        float r[8], gains[8];
        for (int n = 1; n <= 8; ++n)
        {
            r[n - 1] = (float) n * std::sqrt (1.0f + 0.0004f * (float) (n * n));
            gains[n - 1] = g / std::pow ((float) n, 0.8f);
        }
        s.modes (base, { r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7] },
                 { gains[0], gains[1], gains[2], gains[3], gains[4], gains[5], gains[6], gains[7] },
                 { 2.5f, 2.0f, 1.6f, 1.3f, 1.0f, 0.8f, 0.6f, 0.5f });
    }
    return s.click (0.15f).noise (0.1f, 0.01f, 5000, 0.8f).level (0.4f);
}

Stroke wood (float hz, float decay)
{
    return Stroke().modes (hz, { 1, 2.71f, 4.95f }, { 1, 0.3f, 0.1f }, { decay, decay * 0.5f, decay * 0.3f })
        .click (0.4f).level (0.4f);
}

//==============================================================================
Stroke kick (float hz, float decay)
{
    return Stroke().modes (hz, { 1, membrane[1], membrane[2] }, { 1, 0.15f, 0.05f }, { decay, decay * 0.5f, 0.1f })
        .glide (14, 0.025f).click (0.6f).noise (0.2f, 0.01f, 3000, 0.7f).level (0.7f);
}

Stroke snare (float hz, float decay)
{
    return Stroke().modes (hz, { 1, membrane[1], membrane[2], membrane[3] }, { 1, 0.6f, 0.3f, 0.25f }, { 0.12f })
        .glide (2, 0.01f).noise (1.2f, decay, 5000, 0.5f).click (0.5f).level (0.6f);
}

Stroke clap()
{
    return Stroke().noise (1.0f, 0.12f, 1500, 1.2f).rattle (90, 0.008f).level (0.5f);
}

Stroke tom (float hz)
{
    return Stroke().modes (hz, { 1, membrane[1], membrane[2] }, { 1, 0.3f, 0.15f }, { 0.5f, 0.3f, 0.2f })
        .glide (5, 0.05f).click (0.35f).noise (0.25f, 0.04f, hz * 8, 0.8f).level (0.55f);
}

Stroke hiHat (float decay)
{
    return Stroke().modes (3200, { 1, 1.34f, 1.71f, 2.13f, 2.57f, 3.01f }, { 0.3f }, { decay })
        .noise (1.0f, decay, 9000, 0.6f).click (0.2f).pan (0.35f).level (0.35f);
}

Stroke cymbal (float hz, float decay)
{
    return metal (hz, decay).noise (0.6f, decay * 0.8f, 7000, 0.6f).level (0.4f);
}

Stroke cowbell()
{
    return Stroke().modes (560, { 1, 1.48f }, { 1, 0.8f }, { 0.35f, 0.25f }).click (0.3f).level (0.4f).pan (0.2f);
}

Stroke timbale (float hz)
{
    return Stroke().modes (hz, { 1, membrane[1], membrane[2], membrane[4] }, { 1, 0.6f, 0.5f, 0.3f },
                           { 0.5f, 0.35f, 0.3f, 0.25f })
        .click (0.5f).noise (0.5f, 0.15f, 4000, 0.8f);
}

Stroke agogo (float hz)
{
    return Stroke().modes (hz, { 1, 2.7f, 5.3f }, { 1, 0.3f, 0.1f }, { 0.6f, 0.3f, 0.2f }).click (0.3f).level (0.4f);
}

Stroke shaker (float decay, float hz)
{
    return Stroke().noise (1.0f, decay, hz, 0.8f).rattle (120, 0.003f).level (0.35f);
}

Stroke whistle (float hz, float length)
{
    return Stroke().modes (hz, { 1, 1.005f }, { 1, 1 }, { length * 2, length * 2 })
        .noise (0.2f, length, hz, 2.0f).level (0.35f);
}

Stroke guiro (float length)
{
    return Stroke().noise (1.0f, length, 3000, 1.0f).rattle (60, 0.006f).level (0.4f);
}

Stroke cuica (float hz, float decay)
{
    return Stroke().modes (hz, { 1, 2 }, { 1, 0.3f }, { decay, decay * 0.5f }).glide (-7, decay * 0.7f).level (0.4f);
}

Stroke triangle (float decay)
{
    return Stroke().modes (1200, { 1, 2.76f, 5.40f, 8.93f }, { 0.6f, 1, 0.7f, 0.4f },
                           { decay, decay * 0.9f, decay * 0.8f, decay * 0.7f })
        .click (0.15f).level (0.35f);
}
} // namespace nvkit
