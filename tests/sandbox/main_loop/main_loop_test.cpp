// The host's main loop: each frame reaches the host's frame processing and then the HUD, and a loop
// gone leaves nothing of its own behind in the code image.

#include <gtest/gtest.h>

#include <stdexcept>

#include "main_loop/main_loop.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace {

const sandbox::Scenario& WantedNearACop() {
    static const sandbox::Scenario scenario = sandbox::ParseScenario(
        R"({ "durationMs": 1000, "player": { "pos": [0, 0, 0], "wanted": 2 },
             "peds": [ { "id": "cop", "type": 6, "pos": [0, -20, 0] } ] })",
        "loop.json");
    return scenario;
}

TEST(MainLoop, AFrameRunsTheHostsPoliceAsToldAndThenDrawsTheStars) {
    for (const bool pursuit : {true, false}) {
        SCOPED_TRACE(pursuit);
        sandbox::World world(sandbox::ScenarioWorld(WantedNearACop()));
        sandbox::MainLoop loop(world, sandbox::HostRules{pursuit, 0, std::nullopt, 0});
        world.SetClock(world.Now() + 33);
        loop.RunFrame(33);
        EXPECT_EQ(world.FindPed("cop")->HasCriminal(world.Player()), pursuit);
        EXPECT_EQ(world.Hud().drawCount, 2);  // one per star call site
    }
}

TEST(MainLoop, OnceGoneNothingLivesAtTheFrameProcessing) {
    sandbox::World world(sandbox::ScenarioWorld(WantedNearACop()));
    {
        sandbox::MainLoop loop(world, sandbox::HostRules{true, 0, std::nullopt, 0});
        loop.RunFrame(33);
    }
    EXPECT_THROW(world.Code().Call(sandbox::CodeImage::kFrameProcessing), std::runtime_error);
}

}  // namespace
