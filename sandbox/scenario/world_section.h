#pragma once

// The world a scenario is played in: "world" (ground, boxes, holes, path nodes, the host code
// build) and "host" (how the host's own police behave).

#include "scenario/fields.h"
#include "scenario/id_registry.h"
#include "scenario/scenario.h"

namespace sandbox::loader {

/// Reads the "world" object; box ids are declared.
WorldSpec ReadWorld(const Fields& f, IdRegistry& ids);

/// Reads the "host" object.
HostSpec ReadHost(const Fields& f);

/// Fails when a node grid over everything the scenario places or sends somewhere would be too large.
void CheckNodeGrid(const Scenario& scenario);

}  // namespace sandbox::loader
