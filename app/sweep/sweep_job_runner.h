#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "sweep/sweep_job.h"

namespace app {

/// Runs sweep jobs in this process, one at a time, loading each scenario once. A job that cannot run
/// gives a result with its error rather than an exception.
class SweepJobRunner {
public:
    SweepJobRunner();
    sandbox::SweepRunResult Run(const sandbox::SweepJob& job);

private:
    std::filesystem::path module_;
    std::map<std::string, sandbox::Scenario> loaded_;
};

}  // namespace app
