#include "run/run_json.h"

#include <cmath>
#include <cstdio>

#include "run/run_story.h"
#include "run/run_summary.h"

namespace sandbox {

namespace {

nlohmann::ordered_json ProblemsJson(const std::vector<SettingProblem>& problems) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const SettingProblem& p : problems) {
        list.push_back({{"where", p.where}, {"key", p.key}, {"problem", p.problem}, {"detail", p.detail}});
    }
    return list;
}

// The record's text ("0.6") read as a double, so that JSON shows 0.6 and not the float's expansion.
nlohmann::ordered_json NumberJson(const std::string& text) { return std::stod(text); }

}  // namespace

nlohmann::ordered_json SecondsJson(std::optional<std::uint32_t> ms) {
    if (!ms) return nullptr;
    return std::round(static_cast<double>(*ms)) / 1000.0;
}

nlohmann::ordered_json RunJson(const Scenario& scenario, const RunOutcome& outcome, double wallSeconds,
                               const std::vector<SettingProblem>& problems) {
    const RunStory story = TellRun(outcome);
    const RunMetrics metrics = MeasureRun(outcome);

    nlohmann::ordered_json episodes = nlohmann::ordered_json::array();
    for (const Episode& e : story.episodes)
        episodes.push_back({{"startS", SecondsJson(e.startMs)}, {"endS", SecondsJson(e.endMs)}});

    nlohmann::ordered_json cops = nlohmann::ordered_json::array();
    for (const CopStory& cop : story.cops) {
        nlohmann::ordered_json lost = nlohmann::ordered_json::array();
        nlohmann::ordered_json chased = nlohmann::ordered_json::array();
        for (const auto& [ms, isLoss] : cop.turns) (isLoss ? lost : chased).push_back(SecondsJson(ms));
        cops.push_back({{"id", cop.cop}, {"lostS", lost}, {"chasedS", chased}});
    }

    nlohmann::ordered_json fades = nlohmann::ordered_json::array();
    for (const auto& [ms, faded] : outcome.starFades)
        fades.push_back({{"s", SecondsJson(ms)}, {"faded", faded}});

    nlohmann::ordered_json orders = nlohmann::ordered_json::array();
    for (const auto& [command, count] : outcome.commandCounts) {
        char id[8];
        std::snprintf(id, sizeof id, "%04X", command);
        orders.push_back({{"command", id}, {"name", ScriptCommandName(command)}, {"count", count}});
    }

    return {
        {"scenario", scenario.name},
        {"seed", scenario.seed},
        {"frames", outcome.frames},
        {"simulatedS", SecondsJson(outcome.lastRunMs)},
        {"wallS", std::round(wallSeconds * 1000.0) / 1000.0},
        {"settingsProblems", ProblemsJson(problems)},
        {"episodes", episodes},
        {"cops", cops},
        {"starFades", fades},
        {"orders", orders},
        {"metrics",
         {{"firstLossS", SecondsJson(metrics.firstLossMs)},
          {"allLostS", SecondsJson(metrics.allLostMs)},
          {"seenS", SecondsJson(metrics.seenMs)},
          {"chasedAgain", metrics.chasedAgain},
          {"firstFadeS", SecondsJson(metrics.firstFadeMs)},
          {"escaped", metrics.escaped},
          {"escapedS", SecondsJson(metrics.escapedMs)},
          {"arrestedS", SecondsJson(metrics.arrestedMs)}}},
        {"hostErrors", outcome.hostErrors},
    };
}

nlohmann::ordered_json ExpectationsJson(const Scenario& scenario,
                                        const std::vector<ExpectationResult>& results) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const ExpectationResult& r : results) {
        list.push_back({{"index", r.index},
                        {"expectation", DescribeExpectation(scenario.expect[r.index])},
                        {"passed", r.passed},
                        {"message", r.message}});
    }
    return list;
}

nlohmann::ordered_json SettingsJson(const SettingsReport& report) {
    nlohmann::ordered_json settings = nlohmann::ordered_json::array();
    for (const SettingRow& row : report.rows) {
        settings.push_back({{"key", row.key->name},
                            {"value", NumberJson(row.value)},
                            {"default", NumberJson(row.defaultValue)},
                            {"source", row.source},
                            {"unit", row.key->unit},
                            {"meaning", row.key->meaning}});
    }
    // Moved in, not listed in braces: a brace list copies, and a bad INI may bring 200,000 problems.
    nlohmann::ordered_json json;
    json["settings"] = std::move(settings);
    json["problems"] = ProblemsJson(report.problems);
    return json;
}

}  // namespace sandbox
