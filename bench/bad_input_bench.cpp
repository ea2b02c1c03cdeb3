// What hostile or careless input costs: each of these must stay well under a second of CPU, and a
// refused file must be refused before its values are built.

#include <benchmark/benchmark.h>

#include <string>

#include "run/settings_readback.h"
#include "scenario/scenario_loader.h"
#include "tuning/setting_keys.h"
#include "tuning/settings_check.h"

namespace {

// `settings --ini` on a file of 200,000 keys the plugin does not know: the module reads its keys
// from it, and the check lists every line with its nearest known key.
std::string ManyUnknownKeys() {
    std::string ini = "[Settings]\n";
    for (int i = 0; i < 200000; ++i) ini += "Key" + std::to_string(i) + "=1\n";
    return ini;
}

void BM_SettingsOfManyUnknownKeys(benchmark::State& state) {
    const std::string ini = ManyUnknownKeys();
    for (auto _ : state) {
        const Settings readBack = sandbox::ReadBackSettings(VIGILOR_MODULE_PATH, ini);
        benchmark::DoNotOptimize(sandbox::CheckSettings(ini, {}, readBack));
    }
}

// Its two halves: the module reading the file, and the check listing it.
void BM_ModuleReadsManyUnknownKeys(benchmark::State& state) {
    const std::string ini = ManyUnknownKeys();
    for (auto _ : state) benchmark::DoNotOptimize(sandbox::ReadBackSettings(VIGILOR_MODULE_PATH, ini));
}

void BM_CheckOfManyUnknownKeys(benchmark::State& state) {
    const std::string ini = ManyUnknownKeys();
    for (auto _ : state) benchmark::DoNotOptimize(sandbox::CheckSettings(ini, {}, Settings{}));
}

void BM_NearestKeyOfAMillionLetters(benchmark::State& state) {
    const std::string name(1000000, 'x');
    for (auto _ : state) benchmark::DoNotOptimize(sandbox::NearestSettingKey(name));
}

// Scenario texts the loader refuses (or reads) at once, whatever their size.
void Load(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(sandbox::ParseScenario(text, "bench.json"));
        } catch (const sandbox::ScenarioError& error) {
            benchmark::DoNotOptimize(error.what());
        }
    }
}

void BM_ScenarioKeyOf100kLetters(benchmark::State& state) {
    Load(state, R"({"durationMs": 1000, "settings": {")" + std::string(100000, 'k') + R"(": 1}})");
}

void BM_ScenarioValueOf100kDigits(benchmark::State& state) {
    Load(state, R"({"durationMs": 1000, "settings": {"SightRange": )" + std::string(100000, '9') + "}}");
}

void BM_ScenarioOf5MillionNestedArrays(benchmark::State& state) {
    Load(state, std::string(5000000, '[') + std::string(5000000, ']'));
}

}  // namespace

BENCHMARK(BM_SettingsOfManyUnknownKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModuleReadsManyUnknownKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckOfManyUnknownKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NearestKeyOfAMillionLetters)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScenarioKeyOf100kLetters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScenarioValueOf100kDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScenarioOf5MillionNestedArrays)->Unit(benchmark::kMillisecond);
