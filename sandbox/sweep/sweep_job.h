#pragma once

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "run/run_story.h"
#include "scenario/scenario.h"

namespace sandbox {

/// One run of a sweep: a scenario with one variant's overrides and one seed, in its own game folder.
struct SweepJob {
    std::size_t index = 0;
    std::string scenario;  ///< file path or built-in name, as given
    std::uint32_t seed = 1;
    std::optional<std::uint32_t> seconds;  ///< duration override
    std::vector<std::pair<std::string, std::string>> overrides;
    std::filesystem::path gameDir;
    std::filesystem::path replay;  ///< where to write the run's replay page; empty for none
};

struct SweepRunResult {
    std::size_t index = 0;
    bool ok = false;
    std::string error;  ///< why a failed run failed
    RunMetrics metrics;
};

/// Runs the job in this process; a run that throws is a failed result, not an exception.
SweepRunResult RunSweepJob(const Scenario& scenario, const SweepJob& job,
                           const std::filesystem::path& modulePath);

// One line of JSON each way between the sweep and its worker processes.
nlohmann::json SweepJobJson(const SweepJob& job);
SweepJob SweepJobFromJson(const nlohmann::json& json);
nlohmann::json SweepResultJson(const SweepRunResult& result);
SweepRunResult SweepResultFromJson(const nlohmann::json& json);

}  // namespace sandbox
