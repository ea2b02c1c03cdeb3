#include "run/settings_readback.h"

#include <chrono>
#include <cstdlib>
#include <random>
#include <stdexcept>

#include "scenario/json_path.h"

namespace sandbox {

namespace {

// A folder of its own under the system's temporary folder, gone when this goes.
class ScratchDir {
public:
    ScratchDir() {
        // Creating the folder is the test that the name is free, so two runs never share one.
        const std::filesystem::path temp = std::filesystem::temp_directory_path();
        std::mt19937_64 names(
            std::random_device{}() ^
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = temp / ("vigilor-settings-" + std::to_string(names()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                path_ = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot create a scratch folder in " + temp.string());
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Line N of the INI made from a scenario's settings holds its (N-1)-th key, after "[Settings]".
std::string SettingsPath(const std::string& where, const std::vector<Setting>& settings) {
    if (!where.starts_with("ini:")) return where;
    const std::size_t index = static_cast<std::size_t>(std::atol(where.c_str() + 4)) - 2;
    return index < settings.size() ? loader::ChildPath("settings", settings[index].key) : where;
}

void NameBySettingsPath(SettingsReport& report, const std::vector<Setting>& settings) {
    for (SettingProblem& p : report.problems) p.where = SettingsPath(p.where, settings);
    for (SettingRow& row : report.rows) row.source = SettingsPath(row.source, settings);
}

}  // namespace

Settings ReadBackSettings(const std::filesystem::path& modulePath,
                          const std::optional<std::string>& iniText) {
    const ScratchDir dir;
    Scenario scenario;
    scenario.name = "settings";
    scenario.sourceName = "settings";
    scenario.durationMs = scenario.frame.minMs;  // one frame: the plugin reads its settings on its first
    RunOptions options;
    options.gameDir = dir.Path();
    options.modulePath = modulePath;
    options.iniText = iniText;
    const RunOutcome outcome = RunScenario(scenario, options);
    if (!outcome.settings)
        throw std::runtime_error("the module " + modulePath.string() + " exports no settings record");
    return *outcome.settings;
}

SettingsReport CheckRunSettings(const Scenario& scenario, const RunOptions& options) {
    RunOptions asOnWindows = options;
    asOnWindows.iniText = AsWindowsReadsIt(BaseIniTextFor(scenario, options));
    const Settings readBack = ReadBackSettings(options.modulePath, IniTextFor(scenario, asOnWindows));
    std::vector<IniOverride> overrides;
    for (std::size_t i = 0; i < options.overrides.size(); ++i) {
        const auto& [key, value] = options.overrides[i];
        overrides.push_back(
            {key, value, i < options.overrideSources.size() ? options.overrideSources[i] : "set"});
    }
    SettingsReport report = CheckSettings(BaseIniTextFor(scenario, options), overrides, readBack);
    // A scenario's own settings are written as the lines of an INI the user never sees: name them by
    // their place in the scenario file instead.
    if (!options.iniText && !scenario.ini && scenario.settings)
        NameBySettingsPath(report, *scenario.settings);
    return report;
}

}  // namespace sandbox
