#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "run/scenario_run.h"
#include "tuning/settings_check.h"

namespace sandbox {

/// Seconds with three decimals, as a JSON number (null when absent).
nlohmann::ordered_json SecondsJson(std::optional<std::uint32_t> ms);

/// One run as JSON: episodes, each cop's losses and chases, star fades, orders by kind, the sweep
/// metrics, frames and times. The layout is documented in docs/tuning.md.
nlohmann::ordered_json RunJson(const Scenario& scenario, const RunOutcome& outcome, double wallSeconds,
                               const std::vector<SettingProblem>& problems);

/// The expectation results of a run, one object each: index, expectation, passed, message.
nlohmann::ordered_json ExpectationsJson(const Scenario& scenario,
                                        const std::vector<ExpectationResult>& results);

/// The settings report as `settings --json` prints it.
nlohmann::ordered_json SettingsJson(const SettingsReport& report);

}  // namespace sandbox
