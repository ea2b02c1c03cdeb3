#pragma once

#include <filesystem>
#include <vector>

#include "sweep/sweep_record.h"
#include "sweep/sweep_results.h"

namespace app {

/// Removes an earlier sweep's report and replay pages from `dir`, which would pass for the outcome of
/// the sweep about to run until it writes its own. Its results.csv and record stay until they are
/// replaced, so that a sweep that cannot write its own (a full disk) leaves them whole.
void RemoveEarlierReport(const std::filesystem::path& dir);

/// Removes the worker folders under `dir`/runs, each with a copy of the module, and runs/ itself
/// when nothing else is left in it.
void RemoveWorkerFolders(const std::filesystem::path& dir);

struct WrittenSweep {
    sandbox::SweepResults results;
    std::vector<sandbox::MetricStats> stats;  ///< pointing into results
};

/// Writes the record, `dir`/results.csv and report.html for the record's finished runs, each whole or
/// not at all, the record first: it is what --resume trusts. The report links the replay pages found
/// in `dir`.
WrittenSweep WriteSweepOutputs(const std::filesystem::path& dir, const sandbox::SweepRecord& record);

}  // namespace app
