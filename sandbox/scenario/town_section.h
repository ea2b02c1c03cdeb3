#pragma once

// "world.town": a town generated from a few numbers, placed into the scenario's own lists so that
// everything that reads a scenario sees its buildings, nodes, cops and cars as if written by hand.

#include <cstdint>

#include "scenario/fields.h"
#include "scenario/id_registry.h"
#include "scenario/scenario.h"

namespace sandbox {

namespace loader {

/// Reads the town's numbers and its seed.
TownPlan ReadTown(const Fields& f);

/// Builds the scenario's town after its own entities are read, and declares the town's ids.
void PlaceTownAtLoad(Scenario& scenario, IdRegistry& ids);

}  // namespace loader

/// Gives the scenario another seed; a town that takes the run's seed is built again from it.
void SetRunSeed(Scenario& scenario, std::uint32_t seed);

}  // namespace sandbox
