// Cost of loading a scenario file by its number of events: it must grow in proportion.

#include <benchmark/benchmark.h>

#include <string>

#include "allocation_count.h"
#include "scenario/json_text.h"
#include "scenario/scenario_loader.h"

namespace {

std::string ScenarioWithEvents(long count) {
    std::string text = R"({"durationMs": 1000, "player": {"pos": [0, 0, 0]}, "events": [)";
    for (long i = 0; i < count; ++i) {
        text += (i == 0 ? "" : ",") + std::string(R"({"at": )") + std::to_string(i) +
                R"(, "do": "playerMove", "to": [1, 2, 0], "speed": 5})";
    }
    return text + "]}";
}

void BM_LoadEvents(benchmark::State& state) {
    const std::string text = ScenarioWithEvents(state.range(0));
    const std::size_t before = bench::HeapBytesInUse();
    bench::TakeHeapPeak();
    for (auto _ : state) benchmark::DoNotOptimize(sandbox::ParseScenario(text, "bench.json"));
    state.SetComplexityN(state.range(0));
    // What loading holds at its worst beyond the file's text, and the text itself, per event.
    const auto events = static_cast<double>(state.range(0));
    state.counters["peakBytesPerEvent"] = static_cast<double>(bench::TakeHeapPeak() - before) / events;
    state.counters["textBytesPerEvent"] = static_cast<double>(text.size()) / events;
}

}  // namespace

BENCHMARK(BM_LoadEvents)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 16)
    // The most events a file may hold: one more is refused.
    ->Arg(static_cast<long>(sandbox::loader::kMaxElementsPerArray))
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
