// The plugin's own cost per awareness tick in the busy town, apart from the host's line-of-sight work.
// Every frame here is 150 ms long, so every frame runs one tick. The reported time of
// BM_AwarenessTick is the frame minus the time spent answering line-of-sight questions; subtract
// BM_HostFrame150 (the host's own frame) to get the plugin alone. The counters give the questions per
// tick and what they cost the host.

#include <benchmark/benchmark.h>

#include <chrono>

#include "busy_town.h"

namespace {

constexpr std::uint32_t kTickMs = 150;
constexpr int kWarmUpTicks = 40;  // past every cop's grace time: the lost ones are taken over

void Frame(BenchWorld& f, std::uint32_t& now) {
    now += kTickMs;
    f.world.SetClock(now);
    f.loop.RunFrame(kTickMs);
}

void BM_AwarenessTick(benchmark::State& state) {
    BenchWorld f(true, false);
    std::uint32_t now = 0;
    for (int i = 0; i < kWarmUpTicks; ++i) Frame(f, now);
    sandbox::SightQueries& sight = f.world.SightQueries();
    sight = {};
    sight.timed = true;
    for (auto _ : state) {
        const std::uint64_t sightBefore = sight.nanoseconds;
        const auto start = std::chrono::steady_clock::now();
        Frame(f, now);
        const std::chrono::duration<double> total = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(total.count() - static_cast<double>(sight.nanoseconds - sightBefore) * 1e-9);
    }
    state.counters["losCallsPerTick"] =
        benchmark::Counter(static_cast<double>(sight.calls), benchmark::Counter::kAvgIterations);
    state.counters["losUsPerTick"] =
        benchmark::Counter(static_cast<double>(sight.nanoseconds) * 1e-3, benchmark::Counter::kAvgIterations);
}

void BM_HostFrame150(benchmark::State& state) {
    BenchWorld f(false, false);
    std::uint32_t now = 0;
    for (auto _ : state) Frame(f, now);
}

}  // namespace

BENCHMARK(BM_AwarenessTick)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HostFrame150)->Unit(benchmark::kMicrosecond);
