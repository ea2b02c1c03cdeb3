#pragma once

// The run itself: "name", "description", "seed", "clockStartMs", "frameMs" and "durationMs".

#include <string_view>

#include "scenario/fields.h"
#include "scenario/scenario.h"

namespace sandbox::loader {

/// Reads the run's fields of the top-level object; without a name, the source's stem names it.
void ReadRunFields(const Fields& root, std::string_view sourceName, Scenario& scenario);

}  // namespace sandbox::loader
