#pragma once

#include <filesystem>
#include <vector>

#include "sweep/sweep_record.h"
#include "sweep/sweep_results.h"

namespace app {

/// Removes what an earlier sweep left in `dir` (results, report, record, replay pages), so that none
/// of it passes for the outcome of the sweep about to run.
void RemoveSweepOutputs(const std::filesystem::path& dir);

/// Removes the worker folders under `dir`/runs, each with a copy of the module, and runs/ itself
/// when nothing else is left in it.
void RemoveWorkerFolders(const std::filesystem::path& dir);

struct WrittenSweep {
    sandbox::SweepResults results;
    std::vector<sandbox::MetricStats> stats;  ///< pointing into results
};

/// Writes `dir`/results.csv, report.html and the record for the record's finished runs, each whole or
/// not at all; the report links the replay pages found in `dir`.
WrittenSweep WriteSweepOutputs(const std::filesystem::path& dir, const sandbox::SweepRecord& record);

}  // namespace app
