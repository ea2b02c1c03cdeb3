// vigilor-sandbox: runs the plugin in the simulated host from scenario files.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/builtin_scenarios.h"
#include "cli/cli_options.h"
#include "files/json_out.h"
#include "files/owned_folder.h"
#include "files/whole_file.h"
#include "play/play_command.h"
#include "replay/recorded_run.h"
#include "run/run_json.h"
#include "run/run_summary.h"
#include "run/scenario_run.h"
#include "run/stop_request.h"
#include "scenario/scenario_loader.h"
#include "settings_command.h"
#include "sweep/sweep_command.h"
#include "sweep/sweep_merge_command.h"

namespace {

namespace fs = std::filesystem;
using namespace app;
using sandbox::Scenario;

// With several scenarios each gets its own replay file, named after the scenario.
std::string ReplayFileFor(const std::string& replay, const Scenario& scenario, std::size_t scenarioCount) {
    if (replay.empty() || scenarioCount <= 1) return replay;
    const fs::path path(replay);
    return (path.parent_path() / (path.stem().string() + "-" + scenario.name + path.extension().string()))
        .string();
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// "-" is standard output; a file is written whole or not at all, so a reader never sees half of it.
void WriteJsonFile(const std::string& path, const nlohmann::ordered_json& json) {
    const std::string text = sandbox::JsonText(json, 2) + "\n";
    if (path != "-") return sandbox::WriteWholeFile(path, text);
    std::cout << text << std::flush;
    if (!std::cout) throw std::runtime_error("cannot write the JSON to standard output");
}

int Run(const std::string& name, const CommonOptions& o) {
    Scenario scenario = LoadNamedScenario(name);
    ApplyScenarioOverrides(scenario, o);
    const PreparedRun prepared = PrepareRun(scenario, o);
    const auto problems = WarnAboutSettings(scenario, prepared, o.quiet, o.strict);
    const auto start = std::chrono::steady_clock::now();
    const sandbox::RunOutcome outcome = sandbox::RunRecorded(scenario, prepared.options, o.replay);
    if (!o.json.empty())
        WriteJsonFile(o.json, sandbox::RunJson(scenario, outcome, SecondsSince(start), problems));
    if (!o.quiet) {
        const fs::path& dir = prepared.options.gameDir;
        std::cout << sandbox::SummariseRun(scenario, outcome);
        std::cout << "log: " << (dir / "vigilor.log").string()
                  << " (with times and names: " << (dir / "vigilor.timed.log").string() << ")\n";
        if (!o.replay.empty()) {
            std::cout << "replay: " << o.replay << "  (open it in a web browser: file://"
                      << fs::absolute(o.replay).lexically_normal().string() << ")\n";
        }
    }
    return kExitOk;
}

// The demo is there to be watched: its replay goes next to its log.
int Demo() {
    CommonOptions o;
    o.replay = (fs::path("runs") / "demo" / "replay.html").string();
    return Run("demo", o);
}

int Check(const std::vector<std::string>& names, const CommonOptions& o) {
    // Every scenario is loaded and its settings checked first: a bad file stops the check before
    // anything runs.
    std::vector<Scenario> scenarios;
    for (const std::string& name : names) scenarios.push_back(LoadNamedScenario(name));
    std::vector<PreparedRun> runs;
    std::vector<std::vector<sandbox::SettingProblem>> problems;
    for (Scenario& scenario : scenarios) {
        ApplyScenarioOverrides(scenario, o);
        CommonOptions perScenario = o;
        if (!o.dir.empty() && scenarios.size() > 1)
            perScenario.dir = (fs::path(o.dir) / scenario.name).string();
        runs.push_back(PrepareRun(scenario, perScenario));
        problems.push_back(WarnAboutSettings(scenario, runs.back(), o.quiet, o.strict));
    }
    int passed = 0;
    int failed = 0;
    int scenariosPassed = 0;
    nlohmann::ordered_json results = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        const Scenario& scenario = scenarios[i];
        const auto start = std::chrono::steady_clock::now();
        const sandbox::RunOutcome outcome = sandbox::RunRecorded(
            scenario, runs[i].options, ReplayFileFor(o.replay, scenario, scenarios.size()));
        const double wall = SecondsSince(start);
        const auto expectations = sandbox::EvaluateExpectations(scenario, outcome.record);
        const bool runPassed =
            std::ranges::all_of(expectations, [](const sandbox::ExpectationResult& r) { return r.passed; });
        scenariosPassed += runPassed ? 1 : 0;
        for (const sandbox::ExpectationResult& r : expectations) {
            if (r.passed) {
                ++passed;
            } else {
                ++failed;
                std::cout << scenario.name << ": " << r.message << "\n";
            }
        }
        if (!o.json.empty()) {
            nlohmann::ordered_json run = sandbox::RunJson(scenario, outcome, wall, problems[i]);
            run["passed"] = runPassed;
            run["expectations"] = sandbox::ExpectationsJson(scenario, expectations);
            results.push_back(std::move(run));
        }
    }
    std::cout << scenariosPassed << " of " << scenarios.size() << " scenarios passed; " << passed << " of "
              << passed + failed << " expectations\n";
    // "passed" and "failed" count expectations, as they always have; the scenarios are counted beside.
    if (!o.json.empty())
        WriteJsonFile(o.json, {{"runs", results},
                               {"passed", passed},
                               {"failed", failed},
                               {"scenariosPassed", scenariosPassed},
                               {"scenariosFailed", static_cast<int>(scenarios.size()) - scenariosPassed}});
    return failed == 0 ? kExitOk : kExitFailed;
}

int List() {
    for (const BuiltinScenario& builtin : BuiltinScenarios()) {
        const Scenario scenario = sandbox::ParseScenario(builtin.json, std::string(builtin.name) + ".json");
        std::cout << builtin.name << "  " << scenario.description << "\n";
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"vigilor-sandbox: watch, test and tune the police plugin in a simulated host"};
    // The same command line on every platform: "/path/x.json" is a file, never a Windows-style option.
    app.allow_windows_style_options(false);
    app.require_subcommand(0, 1);

    CommonOptions runOptions;
    std::string runScenario;
    CLI::App* run = app.add_subcommand("run", "run one scenario (a file or a built-in name)");
    run->add_option("scenario", runScenario, "scenario file or built-in name")->required();
    AddCommonOptions(*run, runOptions);

    CommonOptions checkOptions;
    std::vector<std::string> checkScenarios;
    CLI::App* check = app.add_subcommand("check", "run scenarios and evaluate their expectations");
    check->add_option("scenarios", checkScenarios, "scenario files or built-in names")->required();
    AddCommonOptions(*check, checkOptions);

    CLI::App* list = app.add_subcommand("list", "list the built-in scenarios");

    SettingsOptions settingsOptions;
    CLI::App* settings =
        app.add_subcommand("settings", "show the settings as the plugin reads them, and their problems");
    settings->add_option("--ini", settingsOptions.ini, "the INI file to read")->check(CLI::ExistingFile);
    settings->add_option("--set", settingsOptions.sets, "override one INI key, KEY=VALUE (repeatable)");
    settings->add_flag("--json", settingsOptions.json, "print JSON instead of a table");
    settings
        ->add_option("--new-ini", settingsOptions.newIni, "write a commented INI, every key at its default")
        ->excludes("--ini", "--set", "--json");

    PlayOptions playOptions;
    CLI::App* play = AddPlayCommand(app, playOptions);

    SweepOptions sweepOptions;
    CLI::App* sweep = AddSweepCommand(app, sweepOptions);
    SweepMergeOptions mergeOptions;
    CLI::App* merge = AddSweepMergeCommand(*sweep, mergeOptions);
    WorkerLinkOptions workerOptions;
    CLI::App* worker = AddSweepWorkerCommand(app, workerOptions);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }

    try {
        // Ctrl-C (or SIGTERM) ends a run at its next frame; its log is then left as the unfinished log. A
        // sweep ends its workers and writes what the runs finished so far give; a play stops its server.
        if (*run || *check || *sweep || *play) {
            std::signal(SIGINT, [](int) { sandbox::RequestStop(); });
            std::signal(SIGTERM, [](int) { sandbox::RequestStop(); });
        }
        if (*run) return Run(runScenario, runOptions);
        if (*check) return Check(checkScenarios, checkOptions);
        if (*list) return List();
        if (*play) return PlayCommand(playOptions);
        if (*settings) return SettingsCommand(settingsOptions);
        if (*merge) return SweepMergeCommand(mergeOptions);
        if (*sweep) return SweepCommand(sweepOptions);
        if (*worker) return SweepWorker(workerOptions);
        return Demo();
    } catch (const sandbox::ScenarioError& e) {
        std::cerr << "error: " << e.what() << "\n";
        return kExitUsage;
    } catch (const UsageError& e) {
        std::cerr << "error: " << e.what() << "\n";
        return kExitUsage;
    } catch (const sandbox::RunStopped& e) {
        std::cerr << "stopped: " << e.what() << "; the plugin's log is left as "
                  << sandbox::kUnfinishedLogName << "\n";
        return kExitStopped;
    } catch (const sandbox::FolderRefused& e) {
        std::cerr << "error: " << e.what() << "\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
        return kExitRunError;
    }
}
