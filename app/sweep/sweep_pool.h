#pragma once

#include <filesystem>
#include <vector>

#include "sweep/sweep_job.h"

namespace app {

struct PoolReport {
    std::vector<sandbox::SweepRunResult> results;  ///< one per job, in any order
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0;  ///< user and system time of the worker processes
};

/// Runs the jobs in `workers` worker processes (this program, "sweep-worker"), each with its own game
/// folder under runsDir and one job at a time. A worker that dies fails its job and is replaced. With
/// progress, shows runs done, runs per second and time left on standard error. The Windows build runs
/// the jobs in this process instead, one after another (sweep_pool_in_process.cpp).
PoolReport RunPool(std::vector<sandbox::SweepJob> jobs, unsigned workers,
                   const std::filesystem::path& runsDir, bool progress);

}  // namespace app
