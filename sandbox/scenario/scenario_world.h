#pragma once

#include "main_loop/host_frame.h"
#include "world/world_description.h"

namespace sandbox {

struct Scenario;

/// The world a scenario starts with. It refers to the scenario, which must outlive it.
WorldDescription ScenarioWorld(const Scenario& scenario);

/// What the host does by itself in the scenario: its pursuit, arrests and wanted-level rule, and the
/// player's own behaviour.
HostRules ScenarioHostRules(const Scenario& scenario);

}  // namespace sandbox
