#pragma once

// Small building blocks shared by the built-in sound engines' voices.
// Everything here is allocation-free and safe on the audio thread.

#include <array>
#include <cmath>
#include <cstdint>

namespace nvdsp
{
constexpr float pi = 3.14159265358979f;
constexpr float twoPi = 6.28318530717959f;

/** Sine of a phase given in cycles (0..1), read from a shared table. */
class SineTable
{
public:
    static float at (float phase) noexcept
    {
        const auto& t = table();
        const float pos = phase * (float) size;
        int i = (int) pos;
        const float frac = pos - (float) i;
        i &= size - 1;
        return t[(size_t) i] + frac * (t[(size_t) i + 1] - t[(size_t) i]);
    }

    /** Builds the table; call once before any audio thread uses it. */
    static void warmUp() noexcept { (void) table(); }

private:
    static constexpr int size = 4096;

    static const std::array<float, size + 1>& table() noexcept
    {
        static const std::array<float, size + 1> t = []
        {
            std::array<float, size + 1> a {};
            for (int i = 0; i <= size; ++i)
                a[(size_t) i] = (float) std::sin (2.0 * 3.14159265358979323846 * i / size);
            return a;
        }();
        return t;
    }
};

/** Wraps a phase to 0..1. */
inline float wrap (float phase) noexcept { return phase - std::floor (phase); }

/** xorshift white noise in -1..1. */
struct Noise
{
    uint32_t state = 0x12345678u;
    void seed (uint32_t s) noexcept { state = s != 0 ? s : 0x9e3779b9u; }
    float next() noexcept
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (float) (int32_t) state * (1.0f / 2147483648.0f);
    }
    float unit() noexcept { return 0.5f * (next() + 1.0f); }
};

/** Multiplier per sample that makes a level fall by 60 dB over `seconds`. */
inline float decayFactor (float seconds, float sampleRate) noexcept
{
    if (seconds <= 0.0f)
        return 0.0f;
    return std::exp (-6.9077553f / (seconds * sampleRate));
}

/** Topology-preserving state-variable filter (low/band/high outputs). */
struct Svf
{
    float g = 0.1f, k = 1.0f, a1 = 0, a2 = 0, a3 = 0;
    float ic1 = 0, ic2 = 0;
    float low = 0, band = 0, high = 0;

    void set (float cutoffHz, float q, float sampleRate) noexcept
    {
        const float fc = std::fmin (std::fmax (cutoffHz, 10.0f), sampleRate * 0.45f);
        g = std::tan (pi * fc / sampleRate);
        k = 1.0f / std::fmax (q, 0.05f);
        a1 = 1.0f / (1.0f + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    void clear() noexcept { ic1 = ic2 = low = band = high = 0; }
    void process (float x) noexcept
    {
        const float v3 = x - ic2;
        const float v1 = a1 * ic1 + a2 * v3;
        const float v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0f * v1 - ic1;
        ic2 = 2.0f * v2 - ic2;
        low = v2;
        band = v1;
        high = x - k * v1 - v2;
    }
};

/** One-pole low-pass. */
struct OnePole
{
    float a = 0.5f, z = 0;
    void setCutoff (float hz, float sampleRate) noexcept
    {
        a = 1.0f - std::exp (-twoPi * std::fmin (hz, sampleRate * 0.49f) / sampleRate);
    }
    float process (float x) noexcept { z += a * (x - z); return z; }
};

/** Residual of a band-limited step (polyBLEP) for phase t and increment dt. */
inline float polyBlep (float t, float dt) noexcept
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt)
    {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

/** Frequency in Hz of a MIDI note number (A4 = 69 = 440 Hz). */
inline float noteHz (float note) noexcept { return 440.0f * std::exp2 ((note - 69.0f) / 12.0f); }
} // namespace nvdsp
