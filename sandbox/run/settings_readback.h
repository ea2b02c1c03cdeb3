#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "run/scenario_run.h"
#include "tuning/settings_check.h"

namespace sandbox {

/// Installs the module in a scratch game folder with this INI text (nullopt: none), runs one frame so
/// that it reads its settings, and returns the record it exports. The folder is removed afterwards.
/// Throws std::runtime_error when the module cannot be loaded or exports no record.
Settings ReadBackSettings(const std::filesystem::path& modulePath, const std::optional<std::string>& iniText);

/// The settings problems of a run: its INI and overrides as the plugin will read them.
SettingsReport CheckRunSettings(const Scenario& scenario, const RunOptions& options);

}  // namespace sandbox
