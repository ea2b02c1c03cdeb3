#include "run/run_story.h"

#include <cstdio>

namespace sandbox {

namespace {

bool StartsWith(const std::string& s, std::string_view prefix) { return s.starts_with(prefix); }

struct CopCounts {
    int total = 0;
    int seeing = 0;
    int lost = 0;
};

std::optional<CopCounts> ParseCopCounts(const std::string& line) {
    CopCounts c;
    if (std::sscanf(line.c_str(), "cops: total=%d seeing=%d lost=%d", &c.total, &c.seeing, &c.lost) != 3) {
        return std::nullopt;
    }
    return c;
}

}  // namespace

std::string PedOf(const std::string& line, const RunOutcome& outcome) {
    const auto at = line.find("ped=");
    if (at == std::string::npos) return "?";
    const auto end = line.find_first_of(" ,", at + 4);
    const std::string pointer =
        line.substr(at + 4, end == std::string::npos ? std::string::npos : end - at - 4);
    auto it = outcome.pedNames.find(pointer);
    return it != outcome.pedNames.end() ? it->second : pointer;
}

RunStory TellRun(const RunOutcome& outcome) {
    RunStory story;
    std::map<std::string, CopStory> cops;
    for (const LoggedLine& line : outcome.record.log) {
        if (StartsWith(line.text, "wanted level started")) {
            story.episodes.push_back({line.runMs, std::nullopt});
        } else if (line.text == "wanted level ended" && !story.episodes.empty() &&
                   !story.episodes.back().endMs) {
            story.episodes.back().endMs = line.runMs;
        } else if (StartsWith(line.text, "cop lost the player:") ||
                   StartsWith(line.text, "cop is chasing again:")) {
            const std::string cop = PedOf(line.text, outcome);
            cops[cop].cop = cop;
            cops[cop].turns.emplace_back(line.runMs, StartsWith(line.text, "cop lost"));
        }
    }
    for (auto& [name, cop] : cops) story.cops.push_back(std::move(cop));
    return story;
}

RunMetrics MeasureRun(const RunOutcome& outcome) {
    RunMetrics m;
    CopCounts counts;
    std::uint32_t seenSince = 0;
    const auto stopSeeing = [&](std::uint32_t ms) {
        if (counts.seeing > 0) m.seenMs += ms - seenSince;
        counts = {};
    };
    bool lostAtEnd = false;
    for (const LoggedLine& line : outcome.record.log) {
        if (StartsWith(line.text, "cop lost the player:")) {
            if (!m.firstLossMs) m.firstLossMs = line.runMs;
        } else if (StartsWith(line.text, "cop is chasing again:")) {
            ++m.chasedAgain;
        } else if (line.text == "wanted level ended") {
            stopSeeing(line.runMs);
        } else if (const std::optional<CopCounts> next = ParseCopCounts(line.text)) {
            if (counts.seeing == 0 && next->seeing > 0) seenSince = line.runMs;
            if (counts.seeing > 0 && next->seeing == 0) m.seenMs += line.runMs - seenSince;
            counts = *next;
            lostAtEnd = counts.total > 0 && counts.lost == counts.total;
            if (lostAtEnd && !m.allLostMs) m.allLostMs = line.runMs;
        }
    }
    stopSeeing(outcome.lastRunMs);
    m.escapedMs = outcome.escapedMs;
    m.arrestedMs = outcome.arrestedMs;
    m.escaped = outcome.hostClearsWanted ? m.escapedMs.has_value() : lostAtEnd;
    for (const auto& [ms, faded] : outcome.starFades) {
        if (faded) {
            m.firstFadeMs = ms;
            break;
        }
    }
    m.orders = outcome.commandCounts;
    return m;
}

}  // namespace sandbox
