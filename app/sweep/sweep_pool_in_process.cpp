#include <chrono>
#include <ctime>

#include "run/stop_request.h"
#include "sweep/sweep_job_runner.h"
#include "sweep/sweep_pool.h"
#include "sweep/sweep_progress.h"

namespace app {

PoolReport RunPoolInProcess(std::vector<sandbox::SweepJob> jobs, const PoolOptions& options) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuBefore = std::clock();
    PoolReport report;
    SweepProgress bar(jobs.size(), options.progress);
    SweepJobRunner runner;
    for (sandbox::SweepJob& job : jobs) {
        if (options.stopAfter > 0 && report.results.size() >= options.stopAfter) sandbox::RequestStop();
        job.gameDir = options.runsDir / "worker-1";
        sandbox::SweepRunResult result = runner.Run(job);
        // A run the stop cut short did not finish: it is left out, as never run.
        if (sandbox::StopRequested()) {
            report.stopped = true;
            break;
        }
        report.results.push_back(std::move(result));
        bar.Show(report.results.size());
    }
    bar.Show(report.results.size(), true);
    report.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    report.cpuSeconds = static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    return report;
}

}  // namespace app
