// The live play's update rate with 100 cops: each update is a frame of the busy town with the plugin
// and the recorder, and the text of what the recording gained, as the server sends it to the page.
// A play's frames are at most 16 ms (the busy town's 33 ms are cut), so at 1x the page needs 60
// updates a second; items_per_second is how many this machine can make.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "busy_town.h"
#include "play/play_session.h"

namespace {

void BM_PlayUpdate(benchmark::State& state) {
    sandbox::PlaySetup setup;
    setup.scenario = BusyTown();
    setup.scenario.durationMs = 3600000;
    setup.sourceText = "{}";
    setup.options.gameDir = std::filesystem::temp_directory_path() / "vigilor-play-bench";
    setup.options.modulePath = VIGILOR_MODULE_PATH;
    sandbox::PlaySession session(std::move(setup));
    std::size_t bytes = 0;
    for (auto _ : state) {
        session.Frame();
        bytes += session.TakeUpdate().size();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["bytesPerUpdate"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(BM_PlayUpdate)->Unit(benchmark::kMicrosecond)->MinTime(3.0);
