#include "sweep/worker_answer.h"

#include <exception>

namespace app {

sandbox::SweepRunResult ReadWorkerAnswer(const std::string& line, std::size_t job) {
    try {
        return sandbox::SweepResultFromJson(nlohmann::json::parse(line));
    } catch (const std::exception& e) {
        return FailedJob(job, std::string("unreadable answer from a worker: ") + e.what());
    }
}

sandbox::SweepRunResult FailedJob(std::size_t job, const std::string& why) {
    sandbox::SweepRunResult r;
    r.index = job;
    r.error = why;
    return r;
}

}  // namespace app
