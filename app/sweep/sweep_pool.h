#pragma once

#include <filesystem>
#include <vector>

#include "sweep/sweep_job.h"

namespace app {

struct PoolReport {
    std::vector<sandbox::SweepRunResult> results;  ///< one per finished job, in any order
    bool stopped = false;                          ///< a stop was asked for before every job had run
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0;  ///< user and system time of the worker processes
    std::size_t workers = 0;  ///< worker processes started (0: the jobs ran in this process)
};

struct PoolOptions {
    unsigned workers = 1;
    std::filesystem::path runsDir;  ///< each worker's game folder is made in it
    bool progress = false;
    std::size_t stopAfter = 0;  ///< for tests: ask for a stop once this many jobs have finished (0: never)
};

/// Runs the jobs in worker processes (this program, "sweep-worker"), each with its own game folder
/// under runsDir and one job at a time. A worker that dies fails its job and is replaced. With
/// progress, shows runs done, runs per second and time left on standard error. When a stop is asked
/// for (sandbox::RequestStop), the workers are ended at once and the jobs they were running are left
/// out of the results, as never run. The Windows build (sweep_pool_win32.cpp) speaks to its workers
/// through named pipes, and runs the jobs in this process when one worker is asked for or none can
/// be started.
PoolReport RunPool(std::vector<sandbox::SweepJob> jobs, const PoolOptions& options);

/// The same jobs run in this process, one after another, each from a freshly loaded module.
PoolReport RunPoolInProcess(std::vector<sandbox::SweepJob> jobs, const PoolOptions& options);

}  // namespace app
