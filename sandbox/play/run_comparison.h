#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/scenario_run.h"

namespace sandbox {

/// Where a run with other settings parts from the run played, both up to the same time.
struct RunComparison {
    std::optional<std::uint32_t> partsAtMs;  ///< the first log line that differs; none: the logs agree
    /// One sentence per cop whose first loss of the player moved, came or went, e.g. "with
    /// SightRange=30 cop2 would have lost you at 12.4 s instead of 19.0 s".
    std::vector<std::string> cops;
};

/// Compares the played run with the run under `change` ("SightRange=30"), both cut at `untilMs`.
RunComparison CompareRuns(const RunOutcome& played, const RunOutcome& other, const std::string& change,
                          std::uint32_t untilMs);

}  // namespace sandbox
