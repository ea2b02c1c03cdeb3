#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "base/settings.h"
#include "main_loop/main_loop.h"
#include "run/module_loader.h"
#include "scenario/scenario.h"
#include "world/world.h"

namespace testing_support {

/// A world with a freshly loaded plugin, stepped by hand: for tests that drive frames one at a time
/// or look at the module's exported settings.
class ModuleSession {
public:
    /// `iniText` is written as vigilor.ini beside the module when not empty; `scenarioJson` sets up
    /// the world; `modulePath` is where the module is installed, relative to Dir().
    explicit ModuleSession(const std::string& iniText, const std::string& scenarioJson = DefaultScenario(),
                           const std::filesystem::path& modulePath = sandbox::ModuleFileName());
    ~ModuleSession();

    /// Runs one main-loop frame `dtMs` after the previous one.
    void Frame(std::uint32_t dtMs = 33);
    void Frames(int count, std::uint32_t dtMs = 33);
    /// Unloads the module, as a host does when it drops a plugin; the world goes on.
    void Unload() { module_.reset(); }
    sandbox::World& World() { return *world_; }
    sandbox::MainLoop& MainLoop() { return *loop_; }
    /// The settings record the module exports (while it is loaded).
    const Settings& Cfg() const;
    std::string Log() const;
    const std::filesystem::path& Dir() const { return dir_; }

    static std::string DefaultScenario();

private:
    std::filesystem::path dir_;
    sandbox::Scenario scenario_;
    std::unique_ptr<sandbox::World> world_;
    std::unique_ptr<sandbox::MainLoop> loop_;
    std::unique_ptr<sandbox::LoadedModule> module_;
};

}  // namespace testing_support
