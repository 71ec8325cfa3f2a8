#include "SoundTestHelpers.h"

#include "sound/NVBuiltinEngineFormat.h"

#include <algorithm>
#include <cmath>

namespace nvtest
{
std::unique_ptr<juce::AudioPluginInstance> makeEngine (const juce::String& name)
{
    auto engine = NVBuiltinEngineFormat::createEngine (name, "/nowhere/" + name + ".vst3");
    if (engine != nullptr)
        engine->prepareToPlay (rate, block);
    return engine;
}

float Rendered::peak() const
{
    return peakBetween (0, (int) left.size());
}

float Rendered::peakBetween (int from, int to) const
{
    float p = 0;
    for (int i = std::max (0, from); i < std::min (to, (int) left.size()); ++i)
        p = std::max ({ p, std::abs (left[(size_t) i]), std::abs (right[(size_t) i]) });
    return p;
}

float Rendered::rms (bool leftChannel, int from, int to) const
{
    const auto& s = leftChannel ? left : right;
    if (to < 0)
        to = (int) s.size();
    double sum = 0;
    for (int i = from; i < to; ++i)
        sum += (double) s[(size_t) i] * s[(size_t) i];
    return to > from ? (float) std::sqrt (sum / (to - from)) : 0.0f;
}

bool Rendered::allFinite() const
{
    auto finite = [] (float x) { return std::isfinite (x); };
    return std::all_of (left.begin(), left.end(), finite) && std::all_of (right.begin(), right.end(), finite);
}

Rendered render (juce::AudioPluginInstance& engine, const juce::MidiBuffer& events, int blocks)
{
    Rendered out;
    juce::AudioBuffer<float> buffer (2, block);
    for (int b = 0; b < blocks; ++b)
    {
        juce::MidiBuffer midi;
        if (b == 0)
            midi = events;
        buffer.clear();
        engine.processBlock (buffer, midi);
        out.left.insert (out.left.end(), buffer.getReadPointer (0), buffer.getReadPointer (0) + block);
        out.right.insert (out.right.end(), buffer.getReadPointer (1), buffer.getReadPointer (1) + block);
    }
    return out;
}

Rendered render (juce::AudioPluginInstance& engine, int blocks)
{
    return render (engine, juce::MidiBuffer(), blocks);
}

juce::MidiBuffer noteOn (int note, int velocity, std::vector<std::pair<int, int>> ccs)
{
    juce::MidiBuffer midi;
    for (const auto& [number, value] : ccs)
        midi.addEvent (juce::MidiMessage::controllerEvent (1, number, value), 0);
    midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) velocity), 0);
    return midi;
}

double zeroCrossingHz (const std::vector<float>& s, int from, int to)
{
    int first = -1, last = -1, count = 0;
    for (int i = from + 1; i < to; ++i)
        if (s[(size_t) i - 1] <= 0 && s[(size_t) i] > 0)
        {
            if (first < 0)
                first = i;
            last = i;
            ++count;
        }
    if (count < 2)
        return 0;
    return (count - 1) * rate / (last - first);
}
} // namespace nvtest

namespace nvtest
{
double pitchHz (const std::vector<float>& s, int from, int to)
{
    const int minLag = (int) (rate / 2000), maxLag = (int) (rate / 50);
    const int n = to - from - maxLag;
    if (n <= 0)
        return 0;
    std::vector<double> corr ((size_t) maxLag + 2, 0.0);
    double best = 0;
    for (int lag = minLag; lag <= maxLag + 1; ++lag)
    {
        double sum = 0;
        for (int i = 0; i < n; ++i)
            sum += (double) s[(size_t) (from + i)] * s[(size_t) (from + i + lag)];
        corr[(size_t) lag] = sum;
        best = std::max (best, sum);
    }
    int bestLag = minLag;
    for (int lag = minLag; lag <= maxLag; ++lag)
        if (corr[(size_t) lag] == best)
            bestLag = lag;
    // The best lag may be a multiple of the period: take the shortest sub-multiple nearly as good.
    int period = bestLag;
    for (int k = 6; k >= 2; --k)
    {
        const int centre = (int) std::lround ((double) bestLag / k);
        int candidate = -1;
        for (int lag = std::max (minLag + 1, centre - 2); lag <= std::min (maxLag, centre + 2); ++lag)
            if (candidate < 0 || corr[(size_t) lag] > corr[(size_t) candidate])
                candidate = lag;
        if (candidate > 0 && corr[(size_t) candidate] >= 0.9 * best)
        {
            period = candidate;
            break;
        }
    }
    const int lag = std::clamp (period, minLag + 1, maxLag);
    const double a = corr[(size_t) lag - 1], b = corr[(size_t) lag], d = corr[(size_t) lag + 1];
    const double denom = a - 2 * b + d;
    const double offset = denom != 0 ? 0.5 * (a - d) / denom : 0.0;
    return rate / (lag + offset);
}
} // namespace nvtest
