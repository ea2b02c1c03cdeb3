// Cost of the plugin's frame in a busy world: a full ped pool with 100 cops near the player in a town
// of boxes. Every frame includes the host's own work; compare with BM_HostFrameOnly.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "run/module_loader.h"
#include "scenario/scenario.h"
#include "world/world.h"

namespace {

sandbox::Scenario BusyTown() {
    sandbox::Scenario s;
    s.name = "bench";
    s.durationMs = 0;
    s.player.pos = {0, 0, 0};
    s.player.wanted = 3;
    for (int bx = -4; bx <= 4; ++bx) {
        for (int by = -4; by <= 4; ++by) {
            if (bx == 0 && by == 0) continue;
            const float x = static_cast<float>(bx) * 40.0f;
            const float y = static_cast<float>(by) * 40.0f;
            s.world.boxes.push_back({"", {x - 10, y - 10, 0}, {x + 10, y + 10, 15}});
        }
    }
    for (int i = 0; i < 139; ++i) {
        sandbox::PedSpec cop;
        cop.id = "p" + std::to_string(i);
        cop.type = i < 100 ? 6 : 4;
        const float angle = static_cast<float>(i) * 0.7f;
        const float r = 10.0f + static_cast<float>(i % 19) * 9.0f;
        cop.pos = {r * std::cos(angle), r * std::sin(angle), 0};
        cop.heading = static_cast<float>(i * 37 % 360);
        s.peds.push_back(cop);
    }
    return s;
}

struct Fixture {
    explicit Fixture(bool withPlugin) : scenario(BusyTown()), world(scenario) {
        if (!withPlugin) return;
        dir = std::filesystem::temp_directory_path() / "vigilor-bench";
        std::filesystem::create_directories(dir);
        std::filesystem::copy_file(VIGILOR_MODULE_PATH, dir / "vigilor.so",
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(dir / "vigilor.ini") << "[Settings]\nLog=0\n";
        module = std::make_unique<sandbox::LoadedModule>(dir / "vigilor.so");
    }
    sandbox::Scenario scenario;
    sandbox::World world;
    std::filesystem::path dir;
    std::unique_ptr<sandbox::LoadedModule> module;
};

void RunFrames(benchmark::State& state, bool withPlugin) {
    Fixture f(withPlugin);
    std::uint32_t now = 0;
    for (auto _ : state) {
        now += 33;
        f.world.SetClock(now);
        f.world.RunMainLoopFrame(33);
    }
}

void BM_FrameWithPlugin(benchmark::State& state) { RunFrames(state, true); }
void BM_HostFrameOnly(benchmark::State& state) { RunFrames(state, false); }

}  // namespace

BENCHMARK(BM_FrameWithPlugin);
BENCHMARK(BM_HostFrameOnly);
BENCHMARK_MAIN();
