#include "busy_town.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"

sandbox::Scenario BusyTown(bool hostPursuit) {
    sandbox::Scenario s;
    s.host.pursuit = hostPursuit;
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

sandbox::Scenario StressTown(int cops, bool chasing) {
    sandbox::Scenario s = sandbox::LoadScenarioFile(VIGILOR_STRESS_TOWN);
    std::stable_partition(s.peds.begin(), s.peds.end(),
                          [](const sandbox::PedSpec& p) { return p.type == 6; });
    const auto police =
        std::count_if(s.peds.begin(), s.peds.end(), [](const auto& p) { return p.type == 6; });
    if (cops < police) s.peds.erase(s.peds.begin() + cops, s.peds.begin() + police);
    for (int i = 0; i < cops && i < static_cast<int>(s.peds.size()); ++i)
        s.peds[static_cast<std::size_t>(i)].type = 6;
    s.events.clear();
    s.host.pursuit = chasing;
    return s;
}

BenchWorld::BenchWorld(bool withPlugin, bool hostPursuit) : BenchWorld(BusyTown(hostPursuit), withPlugin) {}

BenchWorld::BenchWorld(sandbox::Scenario s, bool withPlugin)
    : scenario(std::move(s)),
      world(sandbox::ScenarioWorld(scenario)),
      loop(world, sandbox::ScenarioHostRules(scenario)) {
    if (!withPlugin) return;
    dir = std::filesystem::temp_directory_path() / "vigilor-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(VIGILOR_MODULE_PATH, dir / "vigilor.so",
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(dir / "vigilor.ini") << "[Settings]\nLog=0\n";
    module = std::make_unique<sandbox::LoadedModule>(dir / "vigilor.so");
}
