#include "play/run_comparison.h"

#include <cstdint>
#include <cstdio>
#include <map>

#include "run/run_story.h"

namespace sandbox {

namespace {

std::string Seconds(std::uint32_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
    return text;
}

// Each cop's first loss of the player up to the time, by his name; none for a cop who never lost him.
std::map<std::string, std::optional<std::uint32_t>> FirstLosses(const RunOutcome& outcome,
                                                                std::uint32_t untilMs) {
    std::map<std::string, std::optional<std::uint32_t>> out;
    for (const CopStory& cop : TellRun(outcome).cops) {
        std::optional<std::uint32_t>& first = out[cop.cop];
        for (const auto& [ms, lost] : cop.turns) {
            if (lost && ms <= untilMs && !first) first = ms;
        }
    }
    return out;
}

std::optional<std::uint32_t> PartingMs(const RunOutcome& played, const RunOutcome& other,
                                       std::uint32_t untilMs) {
    const auto& a = played.record.log;
    const auto& b = other.record.log;
    for (std::size_t i = 0;; ++i) {
        const bool aOn = i < a.size() && a[i].runMs <= untilMs;
        const bool bOn = i < b.size() && b[i].runMs <= untilMs;
        if (!aOn && !bOn) return std::nullopt;
        if (!aOn) return b[i].runMs;
        if (!bOn) return a[i].runMs;
        if (a[i].runMs != b[i].runMs || a[i].text != b[i].text) return std::min(a[i].runMs, b[i].runMs);
    }
}

}  // namespace

RunComparison CompareRuns(const RunOutcome& played, const RunOutcome& other, const std::string& change,
                          std::uint32_t untilMs) {
    RunComparison out;
    out.partsAtMs = PartingMs(played, other, untilMs);
    auto was = FirstLosses(played, untilMs);
    auto would = FirstLosses(other, untilMs);
    for (const auto& [cop, at] : would) was.try_emplace(cop);
    for (const auto& [cop, at] : was) would.try_emplace(cop);
    for (const auto& [cop, before] : was) {
        const std::uint32_t never = UINT32_MAX;
        const std::uint32_t a = before.value_or(never);
        const std::uint32_t b = would[cop].value_or(never);
        if (a == b) continue;
        const std::string head = "with " + change + " " + cop + " would ";
        if (a != never && b != never) {
            out.cops.push_back(head + "have lost you at " + Seconds(b) + " instead of " + Seconds(a));
        } else if (b != never) {
            out.cops.push_back(head + "have lost you at " + Seconds(b) + " (he did not lose you)");
        } else {
            out.cops.push_back(head + "not have lost you (he lost you at " + Seconds(a) + ")");
        }
    }
    return out;
}

}  // namespace sandbox
