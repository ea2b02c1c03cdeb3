#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/builtin_scenarios.h"
#include "run/scenario_run.h"
#include "tuning/settings_check.h"

namespace app {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitRunError = 3;
/// Stopped by Ctrl-C or SIGTERM, as a shell reports a program that SIGINT ended.
constexpr int kExitStopped = 130;
/// The longest --seconds: the run time is counted in 32-bit milliseconds.
constexpr std::uint32_t kMaxSeconds = std::numeric_limits<std::uint32_t>::max() / 1000;

/// Bad usage found after parsing (a missing file, a malformed value): exit 2 with this message.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Options shared by run, check and sweep.
struct CommonOptions {
    std::string dir;
    std::string ini;
    std::string overlayIni;
    std::vector<std::string> sets;
    std::optional<std::uint32_t> seconds;
    std::optional<std::uint32_t> seed;
    std::string replay;
    std::string json;
    bool quiet = false;
    bool strict = false;
    bool force = false;
};

void AddCommonOptions(CLI::App& command, CommonOptions& o);

/// The built-in scenario of that name, unless a file of that name is there; null when none.
const BuiltinScenario* FindBuiltin(const std::string& nameOrPath);

/// A file path, or the name of a built-in scenario. Throws sandbox::ScenarioError.
sandbox::Scenario LoadNamedScenario(const std::string& nameOrPath);
/// The text of the scenario LoadNamedScenario would load.
std::string NamedScenarioText(const std::string& nameOrPath);

/// The plugin module to install: $VIGILOR_MODULE, or vigilor.so beside this program.
std::filesystem::path ModulePath();

/// The whole file; throws UsageError naming it when it cannot be read.
std::string ReadText(const std::filesystem::path& path);

/// KEY=VALUE on one line; throws UsageError naming the option otherwise.
std::pair<std::string, std::string> ParseAssignment(const std::string& option, const std::string& text);

/// A run's options, and the layout problems of the INI files it overlays (their keys are overrides).
struct PreparedRun {
    sandbox::RunOptions options;
    std::vector<sandbox::SettingProblem> overlayProblems;
};

/// Adds the key lines of an overlay INI text as overrides, ahead of any already there.
void OverlayIni(PreparedRun& run, const std::string& text);

PreparedRun PrepareRun(const sandbox::Scenario& scenario, const CommonOptions& o);

void ApplyScenarioOverrides(sandbox::Scenario& scenario, const CommonOptions& o);

/// Prints the settings problems of a run on standard error (unless quiet) and, with strict, throws
/// UsageError when there is any. Returns them.
std::vector<sandbox::SettingProblem> WarnAboutSettings(const sandbox::Scenario& scenario,
                                                       const PreparedRun& run, bool quiet, bool strict);

}  // namespace app
