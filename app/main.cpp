// vigilor-sandbox: runs the plugin in the simulated host from scenario files.

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <sstream>

#include "builtin_scenarios.h"
#include "replay/replay_page.h"
#include "replay/replay_recorder.h"
#include "run/run_summary.h"
#include "run/scenario_run.h"
#include "scenario/scenario_loader.h"

namespace {

namespace fs = std::filesystem;
using sandbox::Scenario;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitRunError = 3;
constexpr std::uint32_t kMaxSeconds = std::numeric_limits<std::uint32_t>::max() / 1000;

struct CommonOptions {
    std::string dir;
    std::string ini;
    std::vector<std::string> sets;
    std::optional<std::uint32_t> seconds;
    std::optional<std::uint32_t> seed;
    std::string replay;
    bool quiet = false;
};

void AddCommonOptions(CLI::App& command, CommonOptions& o) {
    command.add_option("--dir", o.dir, "game folder of the run (default: runs/<scenario name>)");
    command.add_option("--ini", o.ini, "use this INI file as vigilor.ini")->check(CLI::ExistingFile);
    command.add_option("--set", o.sets, "override one INI key, KEY=VALUE (repeatable)");
    // The run time is counted in 32-bit milliseconds, as durationMs is.
    command.add_option("--seconds", o.seconds, "override the scenario's duration")
        ->check(CLI::Range(std::uint32_t{0}, kMaxSeconds));
    command.add_option("--seed", o.seed, "override the scenario's seed");
    command.add_option("--replay", o.replay, "also write the replay to this file");
    command.add_flag("--quiet", o.quiet, "print nothing but errors");
}

// A file of that name wins; a folder of that name (say runs/demo's parent holding "demo/") does not hide
// the built-in scenario.
Scenario LoadNamedScenario(const std::string& nameOrPath) {
    for (const BuiltinScenario& builtin : BuiltinScenarios()) {
        if (builtin.name == nameOrPath && !fs::is_regular_file(nameOrPath)) {
            return sandbox::ParseScenario(builtin.json, std::string(builtin.name) + ".json");
        }
    }
    if (!fs::exists(nameOrPath)) {
        throw sandbox::ScenarioError(nameOrPath, "", "no such file and no built-in scenario of that name");
    }
    return sandbox::LoadScenarioFile(nameOrPath);
}

fs::path ModulePath() {
    if (const char* env = std::getenv("VIGILOR_MODULE")) return env;
    return fs::canonical("/proc/self/exe").parent_path() / "vigilor.so";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return text.str();
}

sandbox::RunOptions MakeRunOptions(const Scenario& scenario, const CommonOptions& o) {
    sandbox::RunOptions options;
    options.gameDir = o.dir.empty() ? fs::path("runs") / scenario.name : fs::path(o.dir);
    options.modulePath = ModulePath();
    if (!o.ini.empty()) options.iniText = ReadText(o.ini);
    for (const std::string& set : o.sets) {
        const auto eq = set.find('=');
        if (eq == std::string::npos || eq == 0 || set.find_first_of("\r\n[]") != std::string::npos) {
            throw CLI::ValidationError("--set", "expected KEY=VALUE on one line, got \"" + set + "\"");
        }
        options.overrides.emplace_back(set.substr(0, eq), set.substr(eq + 1));
    }
    return options;
}

void ApplyOverrides(Scenario& scenario, const CommonOptions& o) {
    if (o.seconds) scenario.durationMs = *o.seconds * 1000;
    if (o.seed) scenario.seed = *o.seed;
}

// Runs the scenario, and records and writes its replay when a replay file is given.
sandbox::RunOutcome RunRecorded(const Scenario& scenario, sandbox::RunOptions options, const std::string& replay) {
    if (replay.empty()) return sandbox::RunScenario(scenario, options);
    sandbox::ReplayRecorder recorder(scenario, sandbox::IniTextFor(scenario, options));
    recorder.Attach(options);
    sandbox::RunOutcome outcome = sandbox::RunScenario(scenario, options);
    sandbox::WriteReplayPage(replay, recorder);
    return outcome;
}

// With several scenarios each gets its own replay file, named after the scenario.
std::string ReplayFileFor(const std::string& replay, const Scenario& scenario, std::size_t scenarioCount) {
    if (replay.empty() || scenarioCount <= 1) return replay;
    const fs::path path(replay);
    return (path.parent_path() / (path.stem().string() + "-" + scenario.name + path.extension().string())).string();
}

int Run(const std::string& name, const CommonOptions& o) {
    Scenario scenario = LoadNamedScenario(name);
    ApplyOverrides(scenario, o);
    const sandbox::RunOptions options = MakeRunOptions(scenario, o);
    const sandbox::RunOutcome outcome = RunRecorded(scenario, options, o.replay);
    if (!o.quiet) {
        std::cout << sandbox::SummariseRun(scenario, outcome);
        std::cout << "log: " << (options.gameDir / "vigilor.log").string() << "\n";
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
    // Every scenario is loaded first: a bad file stops the check before anything runs.
    std::vector<Scenario> scenarios;
    for (const std::string& name : names) scenarios.push_back(LoadNamedScenario(name));
    int passed = 0;
    int failed = 0;
    for (Scenario& scenario : scenarios) {
        ApplyOverrides(scenario, o);
        CommonOptions perScenario = o;
        if (!o.dir.empty() && scenarios.size() > 1) perScenario.dir = (fs::path(o.dir) / scenario.name).string();
        const sandbox::RunOutcome outcome = RunRecorded(scenario, MakeRunOptions(scenario, perScenario),
                                                        ReplayFileFor(o.replay, scenario, scenarios.size()));
        for (const sandbox::ExpectationResult& r : sandbox::EvaluateExpectations(scenario, outcome.record)) {
            if (r.passed) {
                ++passed;
            } else {
                ++failed;
                std::cout << scenario.name << ": " << r.message << "\n";
            }
        }
    }
    std::cout << passed << " passed, " << failed << " failed\n";
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

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }

    try {
        if (*run) return Run(runScenario, runOptions);
        if (*check) return Check(checkScenarios, checkOptions);
        if (*list) return List();
        return Demo();
    } catch (const sandbox::ScenarioError& e) {
        std::cerr << "error: " << e.what() << "\n";
        return kExitUsage;
    } catch (const CLI::ValidationError& e) {
        std::cerr << "error: " << e.what() << "\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
        return kExitRunError;
    }
}
