#include "support/host_world.h"

#include "scenario/scenario.h"

namespace testing_support {

std::unique_ptr<sandbox::World> MakeWorld(int codeBuild, int starCallSites) {
    sandbox::Scenario scenario;
    scenario.durationMs = 1000;
    scenario.world.codeBuild = codeBuild;
    scenario.world.starCallSites = starCallSites;
    return std::make_unique<sandbox::World>(scenario);
}

}  // namespace testing_support
