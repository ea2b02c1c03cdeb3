#include "scenario/scenario_world.h"

#include "scenario/scenario.h"
#include "scenario/scenario_area.h"

namespace sandbox {

WorldDescription ScenarioWorld(const Scenario& scenario) {
    return {scenario.world,
            scenario.player,
            scenario.peds,
            scenario.vehicles,
            scenario.seed,
            scenario.clockStartMs,
            scenario.host.copCarCounter,
            ScenarioArea(scenario)};
}

HostRules ScenarioHostRules(const Scenario& scenario) {
    return {scenario.host.pursuit, scenario.host.wantedClearMs, scenario.player.evade,
            scenario.host.arrestMs};
}

}  // namespace sandbox
