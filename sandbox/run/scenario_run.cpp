#include "run/scenario_run.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "files/whole_file.h"
#include "run/frame_runner.h"
#include "run/ini_text.h"
#include "run/module_loader.h"

namespace sandbox {

namespace {

// Copies the module into the game folder, whole or not at all, so the old file is never removed
// before the new one is complete; a folder that already holds this very module (--dir at the
// build's own folder) keeps it untouched.
void InstallModule(const std::filesystem::path& source, const std::filesystem::path& target) {
    std::error_code ec;
    if (std::filesystem::equivalent(source, target, ec)) return;
    std::ifstream in(source, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the module " + source.string());
    try {
        WriteWholeFile(target, [&in](std::ostream& out) { out << in.rdbuf(); });
    } catch (const std::runtime_error& error) {
        throw std::runtime_error("cannot install " + source.string() + ": " + error.what());
    }
}

}  // namespace

void PrepareGameDir(const RunOptions& options, const std::optional<std::string>& ini) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(options.gameDir, ec);
    if (ec)
        throw std::runtime_error("cannot create game folder " + options.gameDir.string() + ": " +
                                 ec.message());
    fs::remove(options.gameDir / "vigilor.log", ec);
    fs::remove(options.gameDir / kUnfinishedLogName, ec);
    fs::remove(options.gameDir / "vigilor.ini", ec);
    fs::remove(options.gameDir / "vigilor.timed.log", ec);
    InstallModule(options.modulePath, options.gameDir / ModuleFileName());
    if (ini) WriteWholeFile(options.gameDir / "vigilor.ini", *ini);
}

std::optional<std::string> BaseIniTextFor(const Scenario& scenario, const RunOptions& options) {
    std::optional<std::string> text = options.iniText ? options.iniText : scenario.ini;
    if (!text && scenario.settings) {
        text = "[Settings]\n";
        for (const Setting& s : *scenario.settings) *text += s.key + "=" + s.text + "\n";
    }
    return text;
}

std::optional<std::string> IniTextFor(const Scenario& scenario, const RunOptions& options) {
    std::optional<std::string> text = BaseIniTextFor(scenario, options);
    if (options.overrides.empty()) return text;
    return ApplyIniOverrides(text.value_or(""), options.overrides);
}

RunOutcome RunScenario(const Scenario& scenario, const RunOptions& options) {
    const std::optional<std::string> ini = IniTextFor(scenario, options);
    PrepareGameDir(options, ini);
    try {
        FrameRunner runner(scenario, options);
        while (runner.Step()) {
        }
        return runner.Finish();
    } catch (...) {
        // A run cut short must not leave a log that passes for a finished one.
        std::error_code ec;
        std::filesystem::rename(options.gameDir / "vigilor.log", options.gameDir / kUnfinishedLogName, ec);
        std::filesystem::remove(options.gameDir / "vigilor.timed.log", ec);
        throw;
    }
}

}  // namespace sandbox
