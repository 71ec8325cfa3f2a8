// Cost of building a track's event list and index, and of the per-block lookup
// that playback makes by key range.
#include "engine/NVMidiTrack.h"

#include <benchmark/benchmark.h>

namespace
{
    void fill(NVMidiTrack& track, int events)
    {
        for (int i = 0; i < events; ++i)
            track.addMessage((juce::int64) (i / 2) * 60, (i % 2) ? 0x80 : 0x90, 36 + i % 40, 100);
    }
}

static void BM_AddMessages(benchmark::State& state)
{
    for (auto _ : state)
    {
        NVMidiTrack track;
        fill(track, (int) state.range(0));
        benchmark::DoNotOptimize(track.getEventIndex().size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddMessages)->Arg(1000)->Arg(10000)->Arg(100000);

static void BM_ResequenceMap(benchmark::State& state)
{
    NVMidiTrack track;
    fill(track, (int) state.range(0));
    for (auto _ : state)
        track.resequenceMap();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ResequenceMap)->Arg(10000)->Arg(100000);

// One device block at 120 bpm and 44.1 kHz covers about 11 ticks.
static void BM_BlockLookup(benchmark::State& state)
{
    NVMidiTrack track;
    fill(track, 100000);
    const auto& index = track.getEventIndex();
    juce::int64 tick = 0;
    for (auto _ : state)
    {
        int found = 0;
        for (auto it = index.lower_bound(tick * 100); it != index.end() && it->first < (tick + 11) * 100; ++it)
            found += it->second;
        benchmark::DoNotOptimize(found);
        tick = (tick + 11) % 3000000;
    }
}
BENCHMARK(BM_BlockLookup);
