#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/settings.h"
#include "scenario/expectations.h"
#include "scenario/scenario.h"

namespace sandbox {

class World;
class LoadedModule;

struct RunOptions {
    std::filesystem::path gameDir;       ///< where the module, INI and log go
    std::filesystem::path modulePath;    ///< the built plugin module to install
    std::optional<std::string> iniText;  ///< replaces the scenario's settings/ini when set
    std::vector<std::pair<std::string, std::string>>
        overrides;  ///< KEY=VALUE over the INI; the last of a key wins
    std::vector<std::string>
        overrideSources;  ///< where each override came from ("set", "overlay:LINE"); default "set"
    /// Called once the module is loaded (it stays loaded until the run ends).
    std::function<void(const LoadedModule&)> onLoad;
    /// Called once the world exists, before the first frame.
    std::function<void(World&)> onStart;
    /// Called after every frame, e.g. to record a replay.
    std::function<void(World&, std::uint32_t runMs, const std::vector<LoggedLine>& newLines)> onFrame;
};

/// What a run produced.
struct RunOutcome {
    RunRecord record;                                 ///< log lines and probe samples
    std::map<std::uint16_t, int> commandCounts;       ///< script commands run, by id
    std::map<std::string, std::string> pedNames;      ///< "%p" text of each ped seen → scenario id
    std::map<std::string, std::string> vehicleNames;  ///< the same for vehicles
    std::vector<std::string> hostErrors;              ///< script code refused, message boxes
    std::vector<std::pair<std::uint32_t, bool>>
        starFades;                            ///< run ms at which the drawn stars faded (true) or came back
    std::optional<Settings> settings;         ///< the module's settings record after the first frame
    std::optional<std::uint32_t> escapedMs;   ///< run ms at which the host cleared the wanted level
    std::optional<std::uint32_t> arrestedMs;  ///< run ms at which the host's police arrested the player
    bool hostClearsWanted = false;            ///< the host's rule for clearing the level was on
    std::uint32_t frames = 0;
    std::uint32_t lastRunMs = 0;
};

/// The INI text of a run before its overrides: the INI file given, else the scenario's own settings.
std::optional<std::string> BaseIniTextFor(const Scenario& scenario, const RunOptions& options);

/// The INI text a run writes beside the module, or nothing when the scenario gives no settings.
std::optional<std::string> IniTextFor(const Scenario& scenario, const RunOptions& options);

/// Where the log of a run that failed part way is moved, so that it is not taken for a finished one.
inline constexpr const char* kUnfinishedLogName = "vigilor.unfinished.log";

/// Leaves the game folder with a fresh module and INI (`ini`, or none) and no log of an earlier run.
/// Throws std::runtime_error when the folder cannot be set up.
void PrepareGameDir(const RunOptions& options, const std::optional<std::string>& ini);

/// Installs the module into the game folder, loads it, and drives it frame by frame through the
/// scenario. Throws std::runtime_error when the folder cannot be set up or the module not loaded,
/// and ScenarioError naming the event when an event cannot be applied; either way the log is left
/// as kUnfinishedLogName.
RunOutcome RunScenario(const Scenario& scenario, const RunOptions& options);

}  // namespace sandbox
