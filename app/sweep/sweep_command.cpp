#include "sweep/sweep_command.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <thread>

#include "cli/cli_options.h"
#include "files/owned_folder.h"
#include "files/whole_file.h"
#include "run/settings_readback.h"
#include "sweep/sweep_job_runner.h"
#include "sweep/sweep_outputs.h"
#include "sweep/sweep_plan.h"
#include "sweep/sweep_pool.h"
#include "sweep/sweep_record.h"
#include "sweep/sweep_replays.h"

namespace app {

namespace fs = std::filesystem;

CLI::App* AddSweepCommand(CLI::App& app, SweepOptions& o) {
    CLI::App* sweep =
        app.add_subcommand("sweep", "run scenarios over many seeds and settings variants, with statistics");
    // Not required here, so that "sweep merge" needs none; SweepCommand asks for one.
    sweep->add_option("scenarios", o.scenarios, "scenario files or built-in names");
    auto* seeds =
        sweep->add_option("--seeds", o.seeds, "seeds 1..N (default 20)")->check(CLI::Range(1u, 1000000u));
    auto* range = sweep->add_option("--seed-range", o.seedRange, "seeds A..B");
    seeds->excludes(range);
    sweep->add_option("--vary", o.varies, "KEY=V1,V2,...: one variant per value; several form a grid");
    sweep->add_option("--variant", o.variants,
                      "NAME=FILE.ini: a variant whose INI overlays each scenario's settings");
    sweep->add_option("--jobs", o.jobs, "worker processes (default: the number of cores)")
        ->check(CLI::Range(1u, 256u));
    sweep->add_option("--out", o.out, "folder for results.csv, report.html and the runs (default: sweep)");
    sweep->add_option("--seconds", o.seconds, "override every scenario's duration")
        ->check(CLI::Range(std::uint32_t{0}, kMaxSeconds));
    sweep->add_option("--shard", o.shard, "K/N: run only the K-th of N shares of the runs (see sweep merge)");
    sweep->add_option("--replays", o.replays,
                      "write replay pages for the first N seeds of each variant, linked from the report");
    sweep->add_flag("--resume", o.resume,
                    "finish the stopped sweep in --out: the same command, without rerunning finished runs");
    sweep->add_flag("--quiet", o.quiet, "no progress, warnings or table; errors only");
    sweep->add_flag("--force", o.force,
                    "write into an --out folder that holds files the sandbox did not write");
    sweep->add_flag("--strict", o.strict, "any settings problem is an error (exit 2 before anything runs)");
    // For tests: stops the sweep as Ctrl-C would, once this many runs have finished.
    sweep->add_option("--stop-after", o.stopAfter)->group("");
    return sweep;
}

CLI::App* AddSweepWorkerCommand(CLI::App& app, WorkerLinkOptions& o) {
    CLI::App* worker = app.add_subcommand("sweep-worker", "");
    worker->group("");  // not for people
    worker->add_option("--pipe", o.pipe);
    worker->add_flag("--held-range", o.heldRange);
    return worker;
}

namespace {

std::vector<sandbox::VariantFile> ReadVariantFiles(const std::vector<std::string>& variants) {
    std::vector<sandbox::VariantFile> files;
    for (const std::string& v : variants) {
        const auto [name, file] = ParseAssignment("--variant", v);
        if (!fs::is_regular_file(file)) throw UsageError("--variant " + v + ": no such file: " + file);
        files.push_back({name, ReadText(file)});
    }
    return files;
}

// Settings problems of every scenario under every variant, before anything runs.
void CheckSweepSettings(const std::vector<sandbox::Scenario>& scenarios,
                        const std::vector<sandbox::Variant>& variants, const SweepOptions& o) {
    for (const sandbox::Scenario& scenario : scenarios) {
        for (const sandbox::Variant& variant : variants) {
            PreparedRun run;
            run.options.modulePath = ModulePath();
            run.overlayProblems = variant.layoutProblems;
            for (const sandbox::IniOverride& ov : variant.overrides) {
                run.options.overrides.emplace_back(ov.key, ov.value);
                run.options.overrideSources.push_back(ov.where);
            }
            sandbox::Scenario named = scenario;
            named.name = scenario.name + " (" + variant.name + ")";
            WarnAboutSettings(named, run, o.quiet, o.strict);
        }
    }
}

// What the options ask to run, checked: a bad option or scenario is a usage error, before anything runs.
sandbox::SweepDefinition DefineSweep(const SweepOptions& o) {
    if (o.scenarios.empty()) throw UsageError("sweep: give at least one scenario");
    sandbox::SweepDefinition definition;
    std::vector<sandbox::Scenario> scenarios;
    for (const std::string& name : o.scenarios) {
        scenarios.push_back(LoadNamedScenario(name));
        definition.scenarios.push_back(
            {name, scenarios.back().name, sandbox::TextFingerprint(NamedScenarioText(name))});
    }
    try {
        definition.axes = sandbox::PlanAxes(o.varies);
        definition.variants = sandbox::PlanVariants(o.varies, ReadVariantFiles(o.variants));
        definition.seeds = sandbox::ParseSeedRange(
            o.seedRange.empty() ? "1.." + std::to_string(o.seeds.value_or(20)) : o.seedRange);
    } catch (const sandbox::SweepPlanError& e) {
        throw UsageError(e.what());
    }
    definition.seconds = o.seconds;
    CheckSweepSettings(scenarios, definition.variants, o);
    return definition;
}

// The runs already finished in `out` when resuming, once the folder is known to hold this very sweep.
std::vector<sandbox::SweepRunResult> FinishedBefore(const fs::path& out, const sandbox::SweepRecord& ours) {
    sandbox::SweepRecord theirs;
    try {
        theirs = sandbox::ReadSweepRecord(out);
    } catch (const sandbox::SweepRecordError& e) {
        throw UsageError(std::string("--resume: ") + e.what());
    }
    std::string differs = sandbox::HowSweepsDiffer(ours.definition, theirs.definition);
    const auto share = [](const sandbox::SweepRecord& r) { return r.shard ? r.shard->Text() : "all"; };
    if (differs.empty() && share(ours) != share(theirs))
        differs = "another share (--shard " + share(ours) + " against " + share(theirs) + ")";
    if (!differs.empty()) {
        throw UsageError("--resume: " + out.string() + " holds a different sweep: " + differs +
                         "; give the options of the sweep that was stopped there");
    }
    return std::move(theirs.finished);
}

// The runs of the folder's share still to make, each with its replay page when one is asked for.
std::vector<sandbox::SweepJob> JobsToRun(const sandbox::SweepRecord& record, const fs::path& out,
                                         std::size_t replays) {
    std::vector<bool> done(sandbox::RunCount(record.definition), false);
    for (const sandbox::SweepRunResult& r : record.finished) done.at(r.index) = true;
    std::vector<sandbox::SweepJob> jobs;
    for (std::size_t i = 0; i < done.size(); ++i) {
        if (done[i] || (record.shard && !record.shard->Holds(i))) continue;
        sandbox::SweepJob job = sandbox::JobAt(record.definition, i);
        if (sandbox::WantsReplay(record.definition, i, replays))
            job.replay = out / sandbox::ReplayLink(record.definition, i);
        jobs.push_back(std::move(job));
    }
    return jobs;
}

}  // namespace

int SweepCommand(const SweepOptions& o) {
    sandbox::SweepRecord record;
    record.definition = DefineSweep(o);
    try {
        if (!o.shard.empty()) record.shard = sandbox::ParseShard(o.shard);
    } catch (const sandbox::SweepPlanError& e) {
        throw UsageError(e.what());
    }

    const fs::path out(o.out);
    sandbox::ClaimFolder(out, "--out", o.force);
    const sandbox::FolderLock lock(out);
    if (o.resume) {
        record.finished = FinishedBefore(out, record);
    } else {
        RemoveEarlierReport(out);
    }
    std::error_code ec;
    fs::create_directories(out / "runs", ec);
    if (ec) throw std::runtime_error("cannot create " + (out / "runs").string() + ": " + ec.message());

    PoolOptions pool;
    pool.workers = o.jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
    pool.runsDir = out / "runs";
    pool.progress = !o.quiet;
    pool.stopAfter = o.stopAfter;
    const PoolReport ran = RunPool(JobsToRun(record, out, o.replays), pool);
    record.finished.insert(record.finished.end(), ran.results.begin(), ran.results.end());
    std::sort(
        record.finished.begin(), record.finished.end(),
        [](const sandbox::SweepRunResult& a, const sandbox::SweepRunResult& b) { return a.index < b.index; });
    RemoveWorkerFolders(out);
    const WrittenSweep written = WriteSweepOutputs(out, record);
    const sandbox::SweepResults& results = written.results;

    std::size_t failed = 0;
    for (const sandbox::SweepResults::Row& row : results.rows) {
        if (row.result.ok) continue;
        ++failed;
        std::cerr << "failed: " << results.scenarios[row.scenario] << ", variant "
                  << results.variants[row.variant] << ", seed " << row.seed << ": " << row.result.error
                  << "\n";
    }
    if (!o.quiet) {
        std::cout << sandbox::SweepStatsText(results, written.stats);
        std::cout << "\n"
                  << results.rows.size() << " runs, " << failed << " failed, " << ran.wallSeconds
                  << " s wall, " << ran.cpuSeconds << " s CPU "
                  << (ran.workers == 0 ? "in this process"
                                       : "in " + std::to_string(ran.workers) + " worker process" +
                                             (ran.workers == 1 ? "" : "es"))
                  << "\n";
        std::cout << "results: " << (out / "results.csv").string()
                  << "\nreport: " << (out / "report.html").string() << "  (open it in a web browser)\n";
    }
    if (record.Stopped()) {
        std::cerr << "stopped: " << sandbox::StoppedText(record.finished.size(), record.Planned())
                  << "; results.csv and report.html in " << out.string()
                  << " hold the finished ones. To finish the sweep, run the same command again with "
                     "--resume.\n";
        return kExitStopped;
    }
    return failed == 0 ? kExitOk : kExitFailed;
}

int SweepWorker(const WorkerLinkOptions& o) {
    WorkerLink link(o);
    SweepJobRunner runner;
    std::string line;
    while (std::getline(link.In(), line)) {
        const sandbox::SweepJob job = sandbox::SweepJobFromJson(nlohmann::json::parse(line));
        link.Out() << sandbox::SweepResultJson(runner.Run(job)).dump() << std::endl;
    }
    return kExitOk;
}

}  // namespace app
