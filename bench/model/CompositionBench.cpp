// Saving and loading a large song: 32 tracks of 300 beats, each holding 60
// loops of four beats. Prints milliseconds (the best of several runs) for
// the save, the load and GetItemsInTrack over all tracks.
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWRegisterModelClasses.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSettings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace
{
constexpr int kTracks = 32;
constexpr int kLoops = 60;
constexpr int kRuns = 5;

double BestMilliseconds(const std::function<void()>& run)
{
    double best = 1e30;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}
} // namespace

int main()
{
    const auto home = std::filesystem::temp_directory_path() / ("nadavo-bench-" + std::to_string(std::rand()));
    std::filesystem::create_directories(home);
    setenv("NADAVO_HOME", home.c_str(), 1);
    TWRegisterModelClasses();
    GetSettings()->LoadSettings();
    TWCompositionsMgr* mgr = GetCompositionsMgr();

    const auto build = std::chrono::steady_clock::now();
    mgr->ClearComposition(0);
    TWComposition* song = mgr->GetComposition(0);
    for (int t = 0; t < kTracks; ++t) {
        song->AddInstrumentTrack("GM", 0, "Tabla", 0, 4, 100, 0);
        for (int i = 0; i < kLoops; ++i) {
            TWRhythmicCycle* loop = mgr->AddTrackItem(t, 20 * i, 16);
            loop->SetUnderlyingName("RZ" + std::to_string(100000 + i) + ".mid");
            mgr->RenameTrackItem(t, loop, 1, "Loop " + std::to_string(i));
        }
    }
    const std::chrono::duration<double, std::milli> built = std::chrono::steady_clock::now() - build;

    const std::string path = (home / "Main.nvc").string();
    const double save = BestMilliseconds([&] { mgr->SaveComposition(path); });
    const double load = BestMilliseconds([&] { mgr->LoadComposition(path); });
    std::size_t loops = 0;
    const double items = BestMilliseconds([&] {
        loops = 0;
        for (int t = 0; t < kTracks; ++t)
            loops += mgr->GetComposition(0)->GetItemsInTrack(t).size();
    });

    std::printf("song of %d tracks x %d loops (%zu loops read back), file %ju bytes\n", kTracks, kLoops, loops,
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    std::printf("build (AddTrackItem x %d): %8.2f ms\n", kTracks * kLoops, built.count());
    std::printf("save:                       %8.2f ms\n", save);
    std::printf("load:                       %8.2f ms\n", load);
    std::printf("GetItemsInTrack, all:       %8.2f ms\n", items);
    mgr->ClearComposition(0);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return loops == static_cast<std::size_t>(kTracks * kLoops) ? 0 : 1;
}
