// Writing and reading a large object graph through the portable streams.
#include "persist/LMFraction.h"
#include "persist/RWCollectableInt.h"
#include "persist/RWCollectableString.h"
#include "persist/RWCreationLog.h"
#include "persist/RWGraphIO.h"
#include "persist/RWHashDictionary.h"
#include "persist/RWOrdered.h"
#include "persist/RWSet.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A song-sized graph: `cells` cells, each an ordered list of a name, a
// position, a length, a velocity and a shared instrument name; a set of
// library names and a dictionary of settings.
class Graph {
public:
    explicit Graph(int cells)
    {
        auto* root = make<RWOrdered>();
        auto* shared = make<RWCollectableString>("Tabla");
        auto* sequence = make<RWOrdered>();
        for (int i = 0; i < cells; ++i) {
            auto* cell = make<RWOrdered>();
            cell->insert(make<RWCollectableString>(("RZ" + std::to_string(i) + ".mid").c_str()));
            cell->insert(make<LMFraction>(i, 4));
            cell->insert(make<LMFraction>(3, 8));
            cell->insert(make<RWCollectableInt>(i % 128));
            cell->insert(shared);
            sequence->insert(cell);
        }
        auto* names = make<RWSet>();
        for (int i = 0; i < cells / 10 + 1; ++i)
            names->insert(make<RWCollectableString>(("Library item \"" + std::to_string(i) + "\" {loop}").c_str()));
        auto* settings = make<RWHashDictionary>();
        for (int i = 0; i < 64; ++i)
            settings->insertKeyAndValue(make<RWCollectableString>(("key" + std::to_string(i)).c_str()),
                                        make<RWCollectableInt>(i));
        root->insert(make<RWCollectableString>("QN313"));
        root->insert(sequence);
        root->insert(names);
        root->insert(settings);
        root_ = root;
    }

    const RWCollectable* root() const { return root_; }

private:
    template <class T, class... A> T* make(A... args)
    {
        owned_.emplace_back(new T(args...));
        return static_cast<T*>(owned_.back().get());
    }

    std::vector<std::unique_ptr<RWCollectable>> owned_;
    const RWCollectable* root_ = nullptr;
};

void BM_WriteGraph(benchmark::State& state)
{
    Graph graph(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = rwSaveToString(graph.root());
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["cells"] = static_cast<double>(state.range(0));
}

void BM_ReadGraph(benchmark::State& state)
{
    Graph graph(static_cast<int>(state.range(0)));
    const std::string text = rwSaveToString(graph.root());
    for (auto _ : state) {
        RWCreationLog log;
        RWCollectable* root = rwRestoreFromString(text);
        benchmark::DoNotOptimize(root);
        state.PauseTiming();
        log.destroyAll();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(text.size() * state.iterations()));
    state.counters["file_bytes"] = static_cast<double>(text.size());
}

void BM_WriteLongString(benchmark::State& state)
{
    std::string data;
    for (int i = 0; i < state.range(0); ++i)
        data += static_cast<char>(i * 37);
    RWCollectableString s(data.data(), data.size());
    for (auto _ : state) {
        std::string text = rwSaveToString(&s);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(data.size() * state.iterations()));
}

} // namespace

BENCHMARK(BM_WriteGraph)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadGraph)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLongString)->Arg(1 << 16)->Unit(benchmark::kMicrosecond);
