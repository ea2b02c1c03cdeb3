// The stress town by number of cops: building its world (the path network of 7929 nodes included),
// and a frame with and without the plugin while the cops stand or chase the player in plain view.

#include <benchmark/benchmark.h>

#include "busy_town.h"
#include "scenario/scenario_world.h"

namespace {

void BM_BuildStressTown(benchmark::State& state) {
    const sandbox::Scenario s = StressTown(100, true);
    for (auto _ : state) {
        sandbox::World world(sandbox::ScenarioWorld(s));
        benchmark::DoNotOptimize(world);
    }
}

void StressFrames(benchmark::State& state, bool chasing, bool withPlugin) {
    BenchWorld f(StressTown(static_cast<int>(state.range(0)), chasing), withPlugin);
    std::uint32_t now = 0;
    for (auto _ : state) {
        now += 33;
        f.world.SetClock(now);
        f.loop.RunFrame(33);
    }
}

void BM_StressStanding(benchmark::State& state) { StressFrames(state, false, true); }
void BM_StressChasing(benchmark::State& state) { StressFrames(state, true, true); }
void BM_StressChasingHostOnly(benchmark::State& state) { StressFrames(state, true, false); }

}  // namespace

BENCHMARK(BM_BuildStressTown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressStanding)->Arg(10)->Arg(25)->Arg(50)->Arg(100)->Arg(139)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StressChasing)->Arg(10)->Arg(25)->Arg(50)->Arg(100)->Arg(139)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StressChasingHostOnly)->Arg(100)->Arg(139)->Unit(benchmark::kMicrosecond);
