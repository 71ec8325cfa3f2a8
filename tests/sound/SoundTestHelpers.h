#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <vector>

namespace nvtest
{
constexpr double rate = 44100.0;
constexpr int block = 512;

/** A built-in engine by name, prepared at 44.1 kHz with 512-sample blocks. */
std::unique_ptr<juce::AudioPluginInstance> makeEngine (const juce::String& name);

/** Stereo audio rendered by an engine. */
struct Rendered
{
    std::vector<float> left, right;
    float peak() const;
    float rms (bool leftChannel, int from = 0, int to = -1) const;
    float peakBetween (int from, int to) const;
    bool allFinite() const;
};

/** Renders `blocks` blocks; `events` are sent at the start of the first block. */
Rendered render (juce::AudioPluginInstance&, const juce::MidiBuffer& events, int blocks);
/** Renders with no new events. */
Rendered render (juce::AudioPluginInstance&, int blocks);

/** Note-on (channel 1) at the first sample, after the controllers in `ccs` (number, value pairs). */
juce::MidiBuffer noteOn (int note, int velocity, std::vector<std::pair<int, int>> ccs = {});

/** Average frequency of the left channel from its zero crossings between two samples. */
double zeroCrossingHz (const std::vector<float>& signal, int from, int to);
} // namespace nvtest

namespace nvtest
{
/** Fundamental frequency of a stretch of signal by autocorrelation (50..2000 Hz). */
double pitchHz (const std::vector<float>& signal, int from, int to);
} // namespace nvtest
