#pragma once

#include "world/world_description.h"

namespace sandbox {

struct Scenario;

/// The world a scenario starts with. It refers to the scenario, which must outlive it.
WorldDescription ScenarioWorld(const Scenario& scenario);

}  // namespace sandbox
