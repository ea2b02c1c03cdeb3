#include "sweep/sweep_job.h"

#include "scenario/town_section.h"

#include <exception>

#include "replay/recorded_run.h"

namespace sandbox {

namespace {

nlohmann::json OptionalMs(const std::optional<std::uint32_t>& ms) {
    return ms ? nlohmann::json(*ms) : nlohmann::json();
}

std::optional<std::uint32_t> MsFrom(const nlohmann::json& json) {
    if (json.is_null()) return std::nullopt;
    return json.get<std::uint32_t>();
}

}  // namespace

SweepRunResult RunSweepJob(const Scenario& scenario, const SweepJob& job,
                           const std::filesystem::path& modulePath) {
    SweepRunResult result;
    result.index = job.index;
    try {
        Scenario run = scenario;
        SetRunSeed(run, job.seed);
        if (job.seconds) run.durationMs = *job.seconds * 1000;
        RunOptions options;
        options.gameDir = job.gameDir;
        options.modulePath = modulePath;
        options.overrides = job.overrides;
        if (!job.replay.empty()) std::filesystem::create_directories(job.replay.parent_path());
        const RunOutcome outcome = RunRecorded(run, options, job.replay);
        result.metrics = MeasureRun(outcome);
        result.ok = outcome.hostErrors.empty();
        if (!result.ok) result.error = "host: " + outcome.hostErrors.front();
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

nlohmann::json SweepJobJson(const SweepJob& job) {
    return {{"index", job.index},
            {"scenario", job.scenario},
            {"seed", job.seed},
            {"seconds", OptionalMs(job.seconds)},
            {"overrides", job.overrides},
            {"dir", job.gameDir.string()},
            {"replay", job.replay.string()}};
}

SweepJob SweepJobFromJson(const nlohmann::json& json) {
    SweepJob job;
    job.index = json.at("index").get<std::size_t>();
    job.scenario = json.at("scenario").get<std::string>();
    job.seed = json.at("seed").get<std::uint32_t>();
    job.seconds = MsFrom(json.at("seconds"));
    job.overrides = json.at("overrides").get<std::vector<std::pair<std::string, std::string>>>();
    job.gameDir = json.at("dir").get<std::string>();
    job.replay = json.at("replay").get<std::string>();
    return job;
}

nlohmann::json SweepResultJson(const SweepRunResult& r) {
    nlohmann::json orders = nlohmann::json::object();
    for (const auto& [command, count] : r.metrics.orders) orders[std::to_string(command)] = count;
    return {{"index", r.index},
            {"ok", r.ok},
            {"error", r.error},
            {"firstLossMs", OptionalMs(r.metrics.firstLossMs)},
            {"allLostMs", OptionalMs(r.metrics.allLostMs)},
            {"seenMs", r.metrics.seenMs},
            {"chasedAgain", r.metrics.chasedAgain},
            {"firstFadeMs", OptionalMs(r.metrics.firstFadeMs)},
            {"escaped", r.metrics.escaped},
            {"escapedMs", OptionalMs(r.metrics.escapedMs)},
            {"arrestedMs", OptionalMs(r.metrics.arrestedMs)},
            {"orders", orders}};
}

SweepRunResult SweepResultFromJson(const nlohmann::json& json) {
    SweepRunResult r;
    r.index = json.at("index").get<std::size_t>();
    r.ok = json.at("ok").get<bool>();
    r.error = json.at("error").get<std::string>();
    r.metrics.firstLossMs = MsFrom(json.at("firstLossMs"));
    r.metrics.allLostMs = MsFrom(json.at("allLostMs"));
    r.metrics.seenMs = json.at("seenMs").get<std::uint32_t>();
    r.metrics.chasedAgain = json.at("chasedAgain").get<int>();
    r.metrics.firstFadeMs = MsFrom(json.at("firstFadeMs"));
    r.metrics.escaped = json.at("escaped").get<bool>();
    r.metrics.escapedMs = MsFrom(json.at("escapedMs"));
    // Records written before arrests were counted have none.
    if (json.contains("arrestedMs")) r.metrics.arrestedMs = MsFrom(json.at("arrestedMs"));
    for (const auto& [command, count] : json.at("orders").items()) {
        r.metrics.orders[static_cast<std::uint16_t>(std::stoi(command))] = count.get<int>();
    }
    return r;
}

}  // namespace sandbox
