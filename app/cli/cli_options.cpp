#include "cli/cli_options.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/builtin_scenarios.h"
#include "files/owned_folder.h"
#include "run/module_loader.h"
#include "run/settings_readback.h"
#include "scenario/scenario_loader.h"
#include "scenario/town_section.h"

namespace app {

namespace fs = std::filesystem;

void AddCommonOptions(CLI::App& command, CommonOptions& o) {
    command.add_option("--dir", o.dir, "game folder of the run (default: runs/<scenario name>)");
    command.add_option("--ini", o.ini, "use this INI file as vigilor.ini")->check(CLI::ExistingFile);
    command
        .add_option("--overlay-ini", o.overlayIni,
                    "lay this INI file's [Settings] keys over the scenario's own settings")
        ->check(CLI::ExistingFile);
    command.add_option("--set", o.sets, "override one INI key, KEY=VALUE (repeatable; the last wins)");
    // The run time is counted in 32-bit milliseconds, as durationMs is.
    command.add_option("--seconds", o.seconds, "override the scenario's duration")
        ->check(CLI::Range(std::uint32_t{0}, kMaxSeconds));
    command.add_option("--seed", o.seed, "override the scenario's seed");
    command.add_option("--replay", o.replay, "also write the replay to this file");
    command.add_flag("--force", o.force, "write into a --dir that holds files the sandbox did not write");
    command.add_option("--json", o.json, "also write the run's summary as JSON to this file");
    command.add_flag("--quiet", o.quiet, "print nothing but errors");
    command.add_flag("--strict", o.strict, "any settings problem is an error (exit 2 before anything runs)");
}

// A file of that name wins; a folder of that name (say runs/demo's parent holding "demo/") does not hide
// the built-in scenario.
const BuiltinScenario* FindBuiltin(const std::string& nameOrPath) {
    for (const BuiltinScenario& builtin : BuiltinScenarios()) {
        if (builtin.name == nameOrPath && !fs::is_regular_file(nameOrPath)) return &builtin;
    }
    return nullptr;
}

sandbox::Scenario LoadNamedScenario(const std::string& nameOrPath) {
    if (const BuiltinScenario* builtin = FindBuiltin(nameOrPath))
        return sandbox::ParseScenario(builtin->json, std::string(builtin->name) + ".json");
    if (!fs::exists(nameOrPath)) {
        throw sandbox::ScenarioError(nameOrPath, "", "no such file and no built-in scenario of that name");
    }
    return sandbox::LoadScenarioFile(nameOrPath);
}

std::string NamedScenarioText(const std::string& nameOrPath) {
    if (const BuiltinScenario* builtin = FindBuiltin(nameOrPath)) return std::string(builtin->json);
    return ReadText(nameOrPath);
}

fs::path ModulePath() {
    if (const char* env = std::getenv("VIGILOR_MODULE")) return env;
    return sandbox::ProgramFolder() / sandbox::ModuleFileName();
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) throw UsageError("cannot read " + path.string());
    return text.str();
}

std::pair<std::string, std::string> ParseAssignment(const std::string& option, const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0 || text.find_first_of("\r\n[]") != std::string::npos) {
        throw UsageError(option + ": expected KEY=VALUE on one line, got \"" + text + "\"");
    }
    return {text.substr(0, eq), text.substr(eq + 1)};
}

void OverlayIni(PreparedRun& run, const std::string& text) {
    sandbox::IniOverlay overlay = sandbox::ReadIniOverlay(text, "overlay");
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<std::string> sources;
    for (const sandbox::IniOverride& o : overlay.overrides) {
        pairs.emplace_back(o.key, o.value);
        sources.push_back(o.where);
    }
    sandbox::RunOptions& options = run.options;
    sources.resize(pairs.size());
    options.overrideSources.resize(options.overrides.size(), "set");
    options.overrides.insert(options.overrides.begin(), pairs.begin(), pairs.end());
    options.overrideSources.insert(options.overrideSources.begin(), sources.begin(), sources.end());
    run.overlayProblems.insert(run.overlayProblems.end(), overlay.problems.begin(), overlay.problems.end());
}

PreparedRun PrepareRun(const sandbox::Scenario& scenario, const CommonOptions& o) {
    PreparedRun run;
    sandbox::RunOptions& options = run.options;
    options.gameDir = o.dir.empty() ? fs::path("runs") / scenario.name : fs::path(o.dir);
    sandbox::ClaimFolder(options.gameDir, "--dir", o.force);
    options.modulePath = ModulePath();
    if (!o.ini.empty()) options.iniText = ReadText(o.ini);
    for (const std::string& set : o.sets) {
        options.overrides.push_back(ParseAssignment("--set", set));
        options.overrideSources.emplace_back("set");
    }
    if (!o.overlayIni.empty()) OverlayIni(run, ReadText(o.overlayIni));
    return run;
}

void ApplyScenarioOverrides(sandbox::Scenario& scenario, const CommonOptions& o) {
    if (o.seconds) scenario.durationMs = *o.seconds * 1000;
    if (o.seed) sandbox::SetRunSeed(scenario, *o.seed);
}

std::vector<sandbox::SettingProblem> WarnAboutSettings(const sandbox::Scenario& scenario,
                                                       const PreparedRun& run, bool quiet, bool strict) {
    std::vector<sandbox::SettingProblem> problems = run.overlayProblems;
    const sandbox::SettingsReport report = sandbox::CheckRunSettings(scenario, run.options);
    problems.insert(problems.end(), report.problems.begin(), report.problems.end());
    if (!quiet || strict) {
        for (const sandbox::SettingProblem& p : problems) {
            std::cerr << (strict ? "error: " : "warning: ") << scenario.name
                      << ": settings: " << sandbox::DescribeProblem(p) << "\n";
        }
    }
    if (strict && !problems.empty()) {
        throw UsageError(std::to_string(problems.size()) + " settings problem(s) in " + scenario.name +
                         " (--strict)");
    }
    return problems;
}

}  // namespace app
