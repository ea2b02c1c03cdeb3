#pragma once

#include <filesystem>

#include "run/scenario_run.h"

namespace sandbox {

/// Runs the scenario and, when `page` is not empty, records the run and writes its replay page there.
RunOutcome RunRecorded(const Scenario& scenario, RunOptions options, const std::filesystem::path& page);

}  // namespace sandbox
