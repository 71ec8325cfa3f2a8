#include <benchmark/benchmark.h>

#include "sound/NVBuiltinEngine.h"
#include "sound/NVBuiltinEngineFormat.h"

namespace
{
constexpr int blockSize = 512;

/** processBlock cost of one 512-sample block at 44.1 kHz after 16 note-ons. Melodic engines
    and the Dulcimer keep all 16 voices; a tabla's strokes on the same head damp each other,
    so fewer of its voices sound (see the avg_voices counter). */
void renderSixteenVoices (benchmark::State& state, const char* engineName, int firstNote, int noteSpan)
{
    juce::ScopedJuceInitialiser_GUI juce;
    auto engine = NVBuiltinEngineFormat::createEngine (engineName, engineName);
    engine->prepareToPlay (44100.0, blockSize);
    juce::AudioBuffer<float> buffer (2, blockSize);

    juce::MidiBuffer notes;
    for (int i = 0; i < 16; ++i)
        notes.addEvent (juce::MidiMessage::noteOn (1, firstNote + i % noteSpan, (juce::uint8) 100), i);
    engine->processBlock (buffer, notes);

    juce::MidiBuffer none;
    int rendered = 0;
    double voices = 0;
    for (auto _ : state)
    {
        engine->processBlock (buffer, none);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
        state.PauseTiming();
        voices += static_cast<NVBuiltinEngine&> (*engine).getNumActiveVoices();
        // Strike again now and then so all voices keep sounding rather than dying away.
        if (++rendered % 8 == 0)
        {
            engine->reset();
            engine->processBlock (buffer, notes);
        }
        state.ResumeTiming();
    }
    state.counters["avg_voices"] = voices / (double) std::max (1, rendered);
    state.counters["realtime_x"] = benchmark::Counter ((double) blockSize / 44100.0 * (double) state.iterations(),
                                                       benchmark::Counter::kIsRate);
}
} // namespace

BENCHMARK_CAPTURE (renderSixteenVoices, Tabla, "Tabla", 36, 18)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (renderSixteenVoices, Dulcimer, "Dulcimer", 48, 37)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (renderSixteenVoices, DrumKit, "DrumKit", 35, 47)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (renderSixteenVoices, Sitar, "Sitar", 48, 24)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (renderSixteenVoices, Harmonium, "Harmonium", 48, 24)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (renderSixteenVoices, StringsEnsemble, "StringsEnsemble", 48, 24)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (renderSixteenVoices, Piano, "Piano", 48, 24)->Unit (benchmark::kMicrosecond);
