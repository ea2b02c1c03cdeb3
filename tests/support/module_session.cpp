#include "support/module_session.h"

#include <fstream>

#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "support/plugin_run.h"

namespace testing_support {

ModuleSession::ModuleSession(const std::string& iniText, const std::string& scenarioJson,
                             const std::filesystem::path& modulePath)
    : dir_(FreshTempDir("session")), scenario_(sandbox::ParseScenario(scenarioJson, "session.json")) {
    const std::filesystem::path module = dir_ / modulePath;
    std::filesystem::create_directories(module.parent_path());
    std::filesystem::copy_file(VIGILOR_MODULE_PATH, module);
    if (!iniText.empty()) std::ofstream(module.parent_path() / "vigilor.ini", std::ios::binary) << iniText;
    world_ = std::make_unique<sandbox::World>(sandbox::ScenarioWorld(scenario_));
    loop_ = std::make_unique<sandbox::MainLoop>(*world_, sandbox::ScenarioHostRules(scenario_));
    module_ = std::make_unique<sandbox::LoadedModule>(module);
}

ModuleSession::~ModuleSession() {
    module_.reset();  // the module unhooks the host code, which the world still maps
    loop_.reset();
    world_.reset();
}

void ModuleSession::Frame(std::uint32_t dtMs) {
    world_->SetClock(world_->Now() + dtMs);
    loop_->RunFrame(dtMs);
}

void ModuleSession::Frames(int count, std::uint32_t dtMs) {
    for (int i = 0; i < count; ++i) Frame(dtMs);
}

const Settings& ModuleSession::Cfg() const { return *static_cast<const Settings*>(module_->Symbol("cfg")); }

std::string ModuleSession::Log() const { return ReadLogFile(dir_ / "vigilor.log"); }

std::string ModuleSession::DefaultScenario() {
    return R"({ "durationMs": 1000, "player": { "pos": [0, 0, 0], "wanted": 0 } })";
}

}  // namespace testing_support
