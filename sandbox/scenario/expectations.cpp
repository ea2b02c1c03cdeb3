#include "scenario/expectations.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "scenario/log_pattern.h"

namespace sandbox {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Ms(uint32_t ms) { return std::to_string(ms) + " ms"; }

// Probe values mostly come from floats; print those as the float they were (0.1, not 0.100000001).
std::string FormatNumber(double value) {
    char buffer[64];
    std::to_chars_result result;
    auto asFloat = static_cast<float>(value);
    if (std::isfinite(value) && static_cast<double>(asFloat) == value) {
        result = std::to_chars(buffer, buffer + sizeof buffer, asFloat);
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, value);
    }
    return std::string(buffer, result.ptr);
}

bool InWindow(const Expectation& e, uint32_t runMs) {
    return (!e.byMs || runMs <= *e.byMs) && (!e.afterMs || runMs >= *e.afterMs);
}

// Index of the first line at or after `from` that matches and lies in the window.
std::optional<std::size_t> FindMatch(const Expectation& e, const std::string& pattern,
                                     const std::vector<LoggedLine>& log, std::size_t from = 0) {
    for (std::size_t i = from; i < log.size(); ++i) {
        if (InWindow(e, log[i].runMs) && MatchesPattern(pattern, log[i].text)) {
            return i;
        }
    }
    return std::nullopt;
}

std::vector<uint32_t> MatchTimes(const std::string& pattern, const std::vector<LoggedLine>& log) {
    std::vector<uint32_t> times;
    for (const LoggedLine& line : log) {
        if (MatchesPattern(pattern, line.text)) {
            times.push_back(line.runMs);
        }
    }
    return times;
}

// Why nothing matched in the window: say where matches were, if anywhere.
std::string NoMatchReason(const std::string& pattern, const std::vector<LoggedLine>& log) {
    std::vector<uint32_t> times = MatchTimes(pattern, log);
    if (times.empty()) {
        return "no matching line";
    }
    if (times.size() == 1) {
        return "no matching line in the window (one match, at " + Ms(times.front()) + ")";
    }
    return "no matching line in the window (" + std::to_string(times.size()) + " matches, first at " +
           Ms(times.front()) + ", last at " + Ms(times.back()) + ")";
}

std::optional<std::string> CheckLog(const Expectation& e, const std::vector<LoggedLine>& log) {
    if (FindMatch(e, e.patterns.front(), log)) {
        return std::nullopt;
    }
    return NoMatchReason(e.patterns.front(), log);
}

uint32_t CountInWindow(const Expectation& e, const std::vector<LoggedLine>& log) {
    uint32_t count = 0;
    for (const LoggedLine& line : log) {
        if (InWindow(e, line.runMs) && MatchesPattern(e.patterns.front(), line.text)) {
            ++count;
        }
    }
    return count;
}

std::optional<std::string> CheckNoLog(const Expectation& e, const std::vector<LoggedLine>& log) {
    std::optional<std::size_t> first = FindMatch(e, e.patterns.front(), log);
    if (!first) {
        return std::nullopt;
    }
    std::string reason = "matched at " + Ms(log[*first].runMs) + ": " + log[*first].text;
    if (uint32_t count = CountInWindow(e, log); count > 1) {
        reason += " (and " + std::to_string(count - 1) + " more)";
    }
    return reason;
}

std::optional<std::string> CheckLogCount(const Expectation& e, const std::vector<LoggedLine>& log) {
    uint32_t count = CountInWindow(e, log);
    if ((e.minCount && count < *e.minCount) || (e.maxCount && count > *e.maxCount)) {
        return "counted " + std::to_string(count);
    }
    return std::nullopt;
}

std::optional<std::string> CheckLogOrder(const Expectation& e, const std::vector<LoggedLine>& log) {
    std::size_t from = 0;
    for (std::size_t k = 0; k < e.patterns.size(); ++k) {
        const std::string& pattern = e.patterns[k];
        std::optional<std::size_t> found = FindMatch(e, pattern, log, from);
        if (found) {
            from = *found + 1;
            continue;
        }
        if (k == 0) {
            return NoMatchReason(pattern, log);
        }
        std::string reason = "no line matching " + Quoted(pattern) + " after the match of " +
                             Quoted(e.patterns[k - 1]) + " at " + Ms(log[from - 1].runMs);
        if (std::optional<std::size_t> earlier = FindMatch(e, pattern, log)) {
            reason += " (it matches earlier, at " + Ms(log[*earlier].runMs) + ")";
        }
        return reason;
    }
    return std::nullopt;
}

std::string Wanted(const Expectation& e) {
    if (e.eqText) {
        return Quoted(*e.eqText);
    }
    if (e.eq) {
        return FormatNumber(*e.eq);
    }
    if (e.nearValue) {
        return FormatNumber(*e.nearValue) + " +- " + FormatNumber(e.tol);
    }
    if (e.min && e.max) {
        return "from " + FormatNumber(*e.min) + " to " + FormatNumber(*e.max);
    }
    return e.min ? "at least " + FormatNumber(*e.min) : "at most " + FormatNumber(*e.max);
}

bool NumberHolds(const Expectation& e, double value) {
    if (e.eq) {
        return std::fabs(value - *e.eq) <= kProbeTolerance;
    }
    if (e.nearValue) {
        return std::fabs(value - *e.nearValue) <= e.tol;
    }
    return (!e.min || value >= *e.min - kProbeTolerance) && (!e.max || value <= *e.max + kProbeTolerance);
}

std::optional<std::string> CheckProbe(const Expectation& e, const ProbeValue* sampled) {
    if (sampled == nullptr) {
        return "never sampled (the run ended before " + Ms(e.atMs) + ")";
    }
    if (std::holds_alternative<ProbeAbsent>(*sampled)) {
        const char* what = e.probe.kind == ProbeKind::vehicle ? "vehicle " : "ped ";
        return what + Quoted(e.probe.id) + " did not exist at that frame";
    }
    if (e.probe.IsText()) {
        const auto* text = std::get_if<std::string>(sampled);
        if (text == nullptr) {
            return "got the number " + FormatNumber(std::get<double>(*sampled)) + ", want text";
        }
        if (*text == *e.eqText) {
            return std::nullopt;
        }
        return "got " + Quoted(*text) + ", want " + Wanted(e);
    }
    const auto* number = std::get_if<double>(sampled);
    if (number == nullptr) {
        return "got the text " + Quoted(std::get<std::string>(*sampled)) + ", want a number";
    }
    if (NumberHolds(e, *number)) {
        return std::nullopt;
    }
    return "got " + FormatNumber(*number) + ", want " + Wanted(e);
}

std::optional<std::string> Check(const Expectation& e, const ProbeValue* sampled, const RunRecord& run) {
    switch (e.kind) {
        case ExpectKind::log: return CheckLog(e, run.log);
        case ExpectKind::noLog: return CheckNoLog(e, run.log);
        case ExpectKind::logCount: return CheckLogCount(e, run.log);
        case ExpectKind::logOrder: return CheckLogOrder(e, run.log);
        case ExpectKind::probe: return CheckProbe(e, sampled);
    }
    return "unknown expectation form";
}

}  // namespace

std::vector<ProbeRequest> ProbeRequests(const Scenario& scenario) {
    std::vector<ProbeRequest> requests;
    for (std::size_t i = 0; i < scenario.expect.size(); ++i) {
        const Expectation& e = scenario.expect[i];
        if (e.kind == ExpectKind::probe) {
            requests.push_back({i, e.atMs, e.probe});
        }
    }
    std::stable_sort(requests.begin(), requests.end(),
                     [](const ProbeRequest& a, const ProbeRequest& b) { return a.atMs < b.atMs; });
    return requests;
}

ProbeSchedule::ProbeSchedule(const Scenario& scenario) : requests_(ProbeRequests(scenario)) {}

std::vector<ProbeRequest> ProbeSchedule::Due(uint32_t runMs) {
    std::vector<ProbeRequest> due;
    while (next_ < requests_.size() && requests_[next_].atMs <= runMs) {
        due.push_back(requests_[next_++]);
    }
    return due;
}

std::string DescribeExpectation(const Expectation& e) {
    std::string text;
    switch (e.kind) {
        case ExpectKind::log: text = "log " + Quoted(e.patterns.front()); break;
        case ExpectKind::noLog: text = "noLog " + Quoted(e.patterns.front()); break;
        case ExpectKind::logCount: text = "logCount " + Quoted(e.patterns.front()); break;
        case ExpectKind::logOrder: {
            text = "logOrder [";
            for (std::size_t i = 0; i < e.patterns.size(); ++i) {
                text += (i == 0 ? "" : ", ") + Quoted(e.patterns[i]);
            }
            text += "]";
            break;
        }
        case ExpectKind::probe: return "probe " + e.probeText + " at " + std::to_string(e.atMs);
    }
    if (e.afterMs) {
        text += " after " + std::to_string(*e.afterMs);
    }
    if (e.byMs) {
        text += " by " + std::to_string(*e.byMs);
    }
    if (e.minCount) {
        text += " min " + std::to_string(*e.minCount);
    }
    if (e.maxCount) {
        text += " max " + std::to_string(*e.maxCount);
    }
    return text;
}

std::vector<ExpectationResult> EvaluateExpectations(const Scenario& scenario, const RunRecord& run) {
    std::vector<ExpectationResult> results;
    for (std::size_t i = 0; i < scenario.expect.size(); ++i) {
        const Expectation& e = scenario.expect[i];
        auto sampled = run.probes.find(i);
        const ProbeValue* value = sampled == run.probes.end() ? nullptr : &sampled->second;
        std::optional<std::string> failure = Check(e, value, run);
        ExpectationResult result{i, !failure, {}};
        if (failure) {
            result.message = "expect[" + std::to_string(i) + "] " + DescribeExpectation(e) + ": " + *failure;
        }
        results.push_back(std::move(result));
    }
    return results;
}

}  // namespace sandbox
