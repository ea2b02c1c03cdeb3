#include "sweep/sweep_job_runner.h"

#include <exception>

#include "cli/cli_options.h"

namespace app {

SweepJobRunner::SweepJobRunner() : module_(ModulePath()) {}

sandbox::SweepRunResult SweepJobRunner::Run(const sandbox::SweepJob& job) {
    sandbox::SweepRunResult result;
    result.index = job.index;
    try {
        auto it = loaded_.find(job.scenario);
        if (it == loaded_.end()) it = loaded_.emplace(job.scenario, LoadNamedScenario(job.scenario)).first;
        result = sandbox::RunSweepJob(it->second, job, module_);
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

}  // namespace app
