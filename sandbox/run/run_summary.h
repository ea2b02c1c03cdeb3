#pragma once

#include <string>

#include "run/scenario_run.h"

namespace sandbox {

/// The end-of-run summary: wanted episodes, each cop's losses and chases, star fades, orders given.
std::string SummariseRun(const Scenario& scenario, const RunOutcome& outcome);

/// A short name for a script command the plugin gives, e.g. "walk along path nodes" for 0x05F5.
std::string ScriptCommandName(std::uint16_t command);

}  // namespace sandbox
