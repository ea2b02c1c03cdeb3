// Cost of the plugin's frame in a busy world: a full ped pool with 100 cops near the player in a town
// of boxes. Every frame includes the host's own work; compare with BM_HostFrameOnly.

#include <benchmark/benchmark.h>

#include "busy_town.h"

namespace {

void RunFrames(benchmark::State& state, bool withPlugin) {
    BenchWorld f(withPlugin);
    std::uint32_t now = 0;
    for (auto _ : state) {
        now += 33;
        f.world.SetClock(now);
        f.loop.RunFrame(33);
    }
}

void BM_FrameWithPlugin(benchmark::State& state) { RunFrames(state, true); }
void BM_HostFrameOnly(benchmark::State& state) { RunFrames(state, false); }

}  // namespace

BENCHMARK(BM_FrameWithPlugin);
BENCHMARK(BM_HostFrameOnly);
BENCHMARK_MAIN();
