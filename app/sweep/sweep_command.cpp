#include "sweep/sweep_command.h"

#include <fstream>
#include <iostream>
#include <thread>

#include "cli/cli_options.h"
#include "files/owned_folder.h"
#include "files/whole_file.h"
#include "run/settings_readback.h"
#include "sweep/sweep_html.h"
#include "sweep/sweep_job_runner.h"
#include "sweep/sweep_plan.h"
#include "sweep/sweep_pool.h"
#include "sweep/sweep_results.h"

namespace app {

namespace fs = std::filesystem;

CLI::App* AddSweepCommand(CLI::App& app, SweepOptions& o) {
    CLI::App* sweep =
        app.add_subcommand("sweep", "run scenarios over many seeds and settings variants, with statistics");
    sweep->add_option("scenarios", o.scenarios, "scenario files or built-in names")->required();
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
    sweep->add_flag("--quiet", o.quiet, "no progress, warnings or table; errors only");
    sweep->add_flag("--force", o.force,
                    "write into an --out folder that holds files the sandbox did not write");
    sweep->add_flag("--strict", o.strict, "any settings problem is an error (exit 2 before anything runs)");
    return sweep;
}

CLI::App* AddSweepWorkerCommand(CLI::App& app) {
    CLI::App* worker = app.add_subcommand("sweep-worker", "");
    worker->group("");  // not for people
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

}  // namespace

int SweepCommand(const SweepOptions& o) {
    std::vector<sandbox::Scenario> scenarios;
    for (const std::string& name : o.scenarios) scenarios.push_back(LoadNamedScenario(name));
    std::vector<sandbox::Variant> variants;
    std::vector<std::uint32_t> seeds;
    try {
        variants = sandbox::PlanVariants(o.varies, ReadVariantFiles(o.variants));
        if (!o.seedRange.empty()) {
            seeds = sandbox::ParseSeedRange(o.seedRange);
        } else {
            seeds = sandbox::ParseSeedRange("1.." + std::to_string(o.seeds.value_or(20)));
        }
    } catch (const sandbox::SweepPlanError& e) {
        throw UsageError(e.what());
    }
    CheckSweepSettings(scenarios, variants, o);

    const fs::path out(o.out);
    sandbox::ClaimFolder(out, "--out", o.force);
    const sandbox::FolderLock lock(out);
    std::error_code ec;
    fs::create_directories(out / "runs", ec);
    if (ec) throw std::runtime_error("cannot create " + (out / "runs").string() + ": " + ec.message());

    sandbox::SweepResults results;
    for (const sandbox::Scenario& s : scenarios) results.scenarios.push_back(s.name);
    results.scenarioSources = o.scenarios;
    for (const sandbox::Variant& v : variants) {
        results.variants.push_back(v.name);
        auto& settings = results.variantSettings.emplace_back();
        for (const sandbox::IniOverride& ov : v.overrides) settings.emplace_back(ov.key, ov.value);
    }
    std::vector<sandbox::SweepJob> jobs;
    for (std::size_t s = 0; s < scenarios.size(); ++s) {
        for (std::size_t v = 0; v < variants.size(); ++v) {
            for (std::uint32_t seed : seeds) {
                sandbox::SweepJob job;
                job.index = jobs.size();
                job.scenario = o.scenarios[s];
                job.seed = seed;
                job.seconds = o.seconds;
                for (const sandbox::IniOverride& ov : variants[v].overrides)
                    job.overrides.emplace_back(ov.key, ov.value);
                jobs.push_back(std::move(job));
                results.rows.push_back({s, v, seed, {}});
            }
        }
    }

    const unsigned workers = o.jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
    const PoolReport pool = RunPool(jobs, workers, out / "runs", !o.quiet);
    for (const sandbox::SweepRunResult& r : pool.results) results.rows[r.index].result = r;

    const std::vector<sandbox::MetricStats> stats = sandbox::ComputeSweepStats(results);
    sandbox::WriteWholeFile(out / "results.csv", sandbox::SweepCsv(results));
    sandbox::WriteWholeFile(out / "report.html", sandbox::SweepReportHtml(results, stats));

    std::size_t failed = 0;
    for (const sandbox::SweepResults::Row& row : results.rows) {
        if (row.result.ok) continue;
        ++failed;
        std::cerr << "failed: " << results.scenarios[row.scenario] << ", variant "
                  << results.variants[row.variant] << ", seed " << row.seed << ": " << row.result.error
                  << "\n";
    }
    if (!o.quiet) {
        std::cout << sandbox::SweepStatsText(results, stats);
        std::cout << "\n"
                  << results.rows.size() << " runs, " << failed << " failed, " << pool.wallSeconds
                  << " s wall, " << pool.cpuSeconds << " s CPU in workers\n";
        std::cout << "results: " << (out / "results.csv").string()
                  << "\nreport: " << (out / "report.html").string() << "  (open it in a web browser)\n";
    }
    return failed == 0 ? kExitOk : kExitFailed;
}

int SweepWorker() {
    SweepJobRunner runner;
    std::string line;
    while (std::getline(std::cin, line)) {
        const sandbox::SweepJob job = sandbox::SweepJobFromJson(nlohmann::json::parse(line));
        std::cout << sandbox::SweepResultJson(runner.Run(job)).dump() << std::endl;
    }
    return kExitOk;
}

}  // namespace app
