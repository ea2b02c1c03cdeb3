#pragma once

// The "events" list: one reader per "do" name, then the run's order checked as it will play out
// (ids that exist at each event, the pools' sizes).

#include <string>
#include <vector>

#include "scenario/id_registry.h"
#include "scenario/json_path.h"
#include "scenario/scenario.h"

namespace sandbox::loader {

/// The events in run order (time, then file order). The start entities must be read already:
/// spawns count against the pools from there, and references are checked at their event's time.
std::vector<Event> ReadEvents(const Json& value, const std::string& path, const Scenario& scenario,
                              IdRegistry& ids);

}  // namespace sandbox::loader
