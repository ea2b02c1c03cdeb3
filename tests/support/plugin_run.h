#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "run/scenario_run.h"
#include "scenario/scenario.h"

namespace testing_support {

/// A scenario from JSON text, run with a freshly loaded plugin in its own temporary game folder.
struct PluginRun {
    sandbox::Scenario scenario;
    sandbox::RunOutcome outcome;
    std::filesystem::path gameDir;

    /// The log lines in order, without their stamps.
    std::vector<std::string> Lines() const;
    /// The log file's bytes as the plugin left them.
    std::string LogFile() const;
    /// True when some line matches the pattern ('*' = any run of characters).
    bool Logged(const std::string& pattern) const;
    int Count(const std::string& pattern) const;
    /// Run ms of the first matching line, or -1.
    long FirstAt(const std::string& pattern) const;
};

/// Runs the scenario; `configure` may adjust the options (INI text, overrides, per-frame hook).
PluginRun RunJson(const std::string& json, const std::function<void(sandbox::RunOptions&)>& configure = {});
/// The same for a scenario already loaded (and perhaps adjusted beyond what its file can say).
PluginRun RunLoaded(const sandbox::Scenario& scenario,
                    const std::function<void(sandbox::RunOptions&)>& configure = {});

/// A fresh, empty folder under the system's temporary folder.
/// The plugin's log file as text; a Windows build's CR LF line ends are read as "\n".
std::string ReadLogFile(const std::filesystem::path& path);

std::filesystem::path FreshTempDir(const std::string& tag);

}  // namespace testing_support
