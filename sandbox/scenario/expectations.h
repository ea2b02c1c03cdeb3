#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "scenario/scenario.h"

namespace sandbox {

// A log line as the plugin wrote it, stamped with the run time of the frame that wrote it.
struct LoggedLine {
    uint32_t runMs = 0;
    std::string text;
};

// The probed ped or vehicle was not in its pool at the sampled frame.
struct ProbeAbsent {};

using ProbeValue = std::variant<double, std::string, ProbeAbsent>;

struct ProbeRequest {
    std::size_t expectIndex = 0;
    uint32_t atMs = 0;
    ProbeName probe;
};

// One request per probe expectation, by time (file order among equal times).
std::vector<ProbeRequest> ProbeRequests(const Scenario& scenario);

// Hands the requests to the runner frame by frame: each at the first frame whose run time is at or
// past its time.
class ProbeSchedule {
public:
    explicit ProbeSchedule(const Scenario& scenario);

    // Requests due at a frame with this run time that were not handed out before.
    std::vector<ProbeRequest> Due(uint32_t runMs);
    bool Done() const { return next_ == requests_.size(); }

private:
    std::vector<ProbeRequest> requests_;
    std::size_t next_ = 0;
};

// What a run produced, as far as the expectations care. Lines are in the order they were written.
struct RunRecord {
    std::vector<LoggedLine> log;
    std::map<std::size_t, ProbeValue> probes;  // by expectation index; missing means never sampled

    void RecordProbe(std::size_t expectIndex, ProbeValue value) { probes[expectIndex] = std::move(value); }
};

struct ExpectationResult {
    std::size_t index = 0;
    bool passed = false;
    std::string message;  // one line, for failures: expect[2] log "x*" by 12000: no matching line
};

// Numeric eq, min and max allow this much slack: probes report floats.
inline constexpr double kProbeTolerance = 1e-4;

std::vector<ExpectationResult> EvaluateExpectations(const Scenario& scenario, const RunRecord& run);

// The expectation as a short phrase, e.g. `log "cop lost*" by 12000` or `probe pedRange at 5000`.
std::string DescribeExpectation(const Expectation& expectation);

}  // namespace sandbox
