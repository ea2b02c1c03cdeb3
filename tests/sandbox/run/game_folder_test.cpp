// A run's game folder and run time: installing the module never loses it, a run cut short leaves
// no log that passes for a finished one, and the longest durations end.

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "run/module_loader.h"
#include "run/scenario_run.h"
#include "scenario/scenario_loader.h"
#include "support/plugin_run.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kShortRun = R"({"durationMs": 200, "player": {"pos": [0, 0, 0], "wanted": 1}})";

sandbox::RunOutcome RunIn(const fs::path& gameDir, const fs::path& modulePath,
                          const sandbox::Scenario& scenario) {
    sandbox::RunOptions options;
    options.gameDir = gameDir;
    options.modulePath = modulePath;
    return sandbox::RunScenario(scenario, options);
}

TEST(GameFolder, AFolderThatHoldsTheModuleItselfKeepsIt) {
    const fs::path dir = testing_support::FreshTempDir("own");
    const fs::path module = dir / sandbox::ModuleFileName();
    fs::copy_file(VIGILOR_MODULE_PATH, module);
    const auto size = fs::file_size(module);
    const sandbox::Scenario scenario = sandbox::ParseScenario(kShortRun, "own.json");
    for (int run = 0; run < 2; ++run) {
        EXPECT_NO_THROW(RunIn(dir, module, scenario)) << "run " << run;
        ASSERT_TRUE(fs::exists(module)) << "run " << run;
        EXPECT_EQ(fs::file_size(module), size);
    }
    // Through another spelling of the same folder too.
    EXPECT_NO_THROW(RunIn(dir / "." / "", module, scenario));
    EXPECT_EQ(fs::file_size(module), size);
    EXPECT_FALSE(fs::exists(dir / (std::string(sandbox::ModuleFileName()) + ".installing")));
}

TEST(GameFolder, AnEventThatCannotBeAppliedIsNamedAndTheLogMarkedUnfinished) {
    // The loader refuses a spawn into a full pool; one added behind its back shows what the run does.
    std::string peds;
    for (int i = 0; i < 139; ++i) peds += std::string(i == 0 ? "" : ",") + R"({"type": 7, "pos": [0, 0, 0]})";
    sandbox::Scenario scenario = sandbox::ParseScenario(
        R"({"durationMs": 1000, "player": {"pos": [0, 0, 0]}, "peds": [)" + peds + "]}", "full.json");
    sandbox::Event spawn;
    spawn.kind = sandbox::EventKind::spawn;
    spawn.atMs = 100;
    spawn.sourceIndex = 3;
    spawn.spawnPed = std::make_shared<const sandbox::PedSpec>();
    scenario.events.push_back(spawn);

    const fs::path dir = testing_support::FreshTempDir("full");
    try {
        RunIn(dir, VIGILOR_MODULE_PATH, scenario);
        ADD_FAILURE() << "the spawn into a full pool went unnoticed";
    } catch (const sandbox::ScenarioError& error) {
        EXPECT_EQ(error.JsonPath(), "events[3].ped");
        EXPECT_EQ(std::string(error.what()), "full.json: events[3].ped: the ped pool is full at 100 ms");
    }
    EXPECT_FALSE(fs::exists(dir / "vigilor.log"));
    EXPECT_TRUE(fs::exists(dir / sandbox::kUnfinishedLogName));

    // The next run in the same folder starts clean.
    scenario.events.clear();
    RunIn(dir, VIGILOR_MODULE_PATH, scenario);
    EXPECT_TRUE(fs::exists(dir / "vigilor.log"));
    EXPECT_FALSE(fs::exists(dir / sandbox::kUnfinishedLogName));
}

TEST(RunTime, ADurationAtTheTopOf32BitsEnds) {
    // Two frames of 2^31 ms would reach 2^32, past any duration: the run has exactly one frame.
    int frames = 0;
    const auto run = testing_support::RunJson(
        R"({"durationMs": 4294967295, "frameMs": 2147483648, "player": {"pos": [0, 0, 0]}})",
        [&](sandbox::RunOptions& options) {
            options.onFrame = [&](sandbox::World&, std::uint32_t, const std::vector<sandbox::LoggedLine>&) {
                if (++frames > 4) throw std::runtime_error("the run does not end");
            };
        });
    EXPECT_EQ(run.outcome.frames, 1u);
    EXPECT_EQ(run.outcome.lastRunMs, 2147483648u);
}

}  // namespace
