#include "sound/NVBuiltinSympathetic.h"

#include "sound/NVBuiltinDsp.h"

#include <algorithm>
#include <cmath>

void NVBuiltinSympathetic::prepare (double sampleRate)
{
    // Tuned to the notes of the scale the instrument is usually tuned to: Sa Re Ga Pa Dha Sa' Re'.
    static constexpr float notes[numStrings] = { 60, 62, 64, 67, 69, 72, 74 };
    const float rate = (float) (sampleRate > 0 ? sampleRate : 44100.0);
    for (int s = 0; s < numStrings; ++s)
    {
        auto& str = strings[(size_t) s];
        const float hz = nvdsp::noteHz (notes[s]);
        str.length = std::max (2, (int) std::lround (rate / hz));
        str.line.assign ((size_t) str.length, 0.0f);
        str.pos = 0;
        str.feedback = std::pow (10.0f, -3.0f / (2.2f * hz));
        str.damp = 0.25f;
        const float angle = ((float) s / (numStrings - 1)) * 0.5f * nvdsp::pi;
        str.panLeft = std::cos (angle);
        str.panRight = std::sin (angle);
    }
    fadeLength = std::max (1, (int) (rate * 0.004f));
    reset();
}

void NVBuiltinSympathetic::fadeOut() noexcept
{
    if (fadeRemaining < 0)
        fadeRemaining = fadeLength;
}

void NVBuiltinSympathetic::reset() noexcept
{
    for (auto& str : strings)
    {
        std::fill (str.line.begin(), str.line.end(), 0.0f);
        str.lowpass = 0;
    }
    fadeRemaining = -1;
}

void NVBuiltinSympathetic::process (float* left, float* right, int numSamples, float level) noexcept
{
    if (level <= 0)
        return;
    for (int i = 0; i < numSamples; ++i)
    {
        const float input = 0.5f * (left[i] + right[i]) * 0.05f;
        float outL = 0, outR = 0;
        for (auto& str : strings)
        {
            if (str.line.empty())
                continue;
            const float delayed = str.line[(size_t) str.pos];
            str.lowpass += (1.0f - str.damp) * (delayed - str.lowpass);
            const float y = input + str.feedback * str.lowpass;
            str.line[(size_t) str.pos] = y;
            str.pos = str.pos + 1 < str.length ? str.pos + 1 : 0;
            outL += delayed * str.panLeft;
            outR += delayed * str.panRight;
        }
        float gain = level;
        if (fadeRemaining >= 0)
        {
            gain *= (float) fadeRemaining / (float) fadeLength;
            if (--fadeRemaining < 0)
            {
                reset();
                return;
            }
        }
        left[i] += outL * gain;
        right[i] += outR * gain;
    }
}
