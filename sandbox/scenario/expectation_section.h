#pragma once

// The "expect" list: what the log must or must not say, and what the probes must read.

#include <string>

#include "scenario/id_registry.h"
#include "scenario/json_path.h"
#include "scenario/scenario.h"

namespace sandbox::loader {

/// One expectation. The ids its probe names must be declared (at any time of the run).
Expectation ReadExpectation(const Json& value, const std::string& path, const IdRegistry& ids);

}  // namespace sandbox::loader
