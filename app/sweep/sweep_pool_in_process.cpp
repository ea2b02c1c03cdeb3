#include <chrono>
#include <ctime>

#include "sweep/sweep_job_runner.h"
#include "sweep/sweep_pool.h"
#include "sweep/sweep_progress.h"

namespace app {

// The Windows build runs every job in this process, one after another. Under Wine a program started
// by another loses the request that keeps the host's code range free, so a worker process could not
// map the host there.
PoolReport RunPool(std::vector<sandbox::SweepJob> jobs, unsigned /*workers*/,
                   const std::filesystem::path& runsDir, bool progress) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuBefore = std::clock();
    PoolReport report;
    SweepProgress bar(jobs.size(), progress);
    SweepJobRunner runner;
    for (sandbox::SweepJob& job : jobs) {
        job.gameDir = runsDir / "worker-1";
        report.results.push_back(runner.Run(job));
        bar.Show(report.results.size());
    }
    bar.Show(report.results.size(), true);
    report.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    report.cpuSeconds = static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    return report;
}

}  // namespace app
