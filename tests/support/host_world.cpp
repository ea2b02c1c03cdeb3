#include "support/host_world.h"

#include "main_loop/host_frame.h"
#include "scenario/scenario.h"
#include "scenario/scenario_world.h"

namespace testing_support {

std::unique_ptr<sandbox::World> MakeWorld(int codeBuild, int starCallSites) {
    sandbox::Scenario scenario;
    scenario.durationMs = 1000;
    scenario.world.codeBuild = codeBuild;
    scenario.world.starCallSites = starCallSites;
    return std::make_unique<sandbox::World>(sandbox::ScenarioWorld(scenario));
}

void RunHostFrames(sandbox::World& world, std::uint32_t ms, bool hostPursuit,
                   const std::function<void()>& afterFrame) {
    constexpr std::uint32_t kFrameMs = 50;
    sandbox::HostFrame frame(sandbox::HostRules{hostPursuit, 0, std::nullopt, 0});
    for (std::uint32_t t = 0; t < ms; t += kFrameMs) {
        world.SetClock(world.Now() + kFrameMs);
        frame.Run(world, kFrameMs);
        if (afterFrame) afterFrame();
    }
}

}  // namespace testing_support
