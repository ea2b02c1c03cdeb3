#pragma once

#include <cstddef>
#include <string>

#include "sweep/sweep_job.h"

namespace app {

/// A worker's answer line as a result; an answer that cannot be read fails the job it was running.
sandbox::SweepRunResult ReadWorkerAnswer(const std::string& line, std::size_t job);

/// The result of a job that got no answer, and why.
sandbox::SweepRunResult FailedJob(std::size_t job, const std::string& why);

}  // namespace app
