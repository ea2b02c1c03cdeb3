#include "run/scenario_run.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/whole_file.h"
#include "main_loop/main_loop.h"
#include "run/event_applier.h"
#include "run/ini_text.h"
#include "run/log_tail.h"
#include "run/module_loader.h"
#include "run/probes.h"
#include "run/stop_request.h"
#include "run/timed_log.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

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

// The plugin drops a log line it cannot write, and says nothing; so after the run the host checks
// that the log ends with a whole line and that the folder still takes a small file. A run whose
// log may be cut is no result.
void CheckLogComplete(const LogTail& log, const std::filesystem::path& gameDir) {
    const std::filesystem::path probe = gameDir / "vigilor.space-check";
    std::string reason = log.EndsMidLine() ? "vigilor.log ends in the middle of a line" : "";
    try {
        WriteWholeFile(probe, std::string(4096, ' '));
    } catch (const std::runtime_error& error) {
        reason = error.what();
    }
    std::error_code ec;
    std::filesystem::remove(probe, ec);
    if (!reason.empty())
        throw std::runtime_error("the game folder's disk is full: the plugin's log is incomplete (" + reason +
                                 ")");
}

// Leaves the folder with a fresh module and INI and no log of an earlier run.
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

std::uint32_t NextFrameMs(const Scenario& scenario, World& world) {
    if (scenario.frame.IsFixed()) return scenario.frame.minMs;
    std::uniform_int_distribution<std::uint32_t> draw(scenario.frame.minMs, scenario.frame.maxMs);
    return draw(world.Random());
}

std::string PointerText(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

// Peds and vehicles share one address space, so one lookup names both for the timed log. A slot keeps
// its address, so a slot is named again only when another ped or vehicle has come into it.
struct EntityNames {
    std::map<std::string, std::string> byPointer;
    std::vector<std::string> pedSlots;
    std::vector<std::string> vehicleSlots;
};

template <typename HostType, typename Pool>
void NameSlots(const Pool& pool, std::vector<std::string>& slots,
               std::map<std::string, std::string>& outcomeNames,
               std::map<std::string, std::string>& byPointer) {
    slots.resize(static_cast<std::size_t>(pool.Size()));
    for (int i = 0; i < pool.Size(); ++i) {
        const auto* entity = pool.At(i);
        if (entity == nullptr || entity->id.empty() || slots[static_cast<std::size_t>(i)] == entity->id)
            continue;
        slots[static_cast<std::size_t>(i)] = entity->id;
        const std::string pointer = PointerText(static_cast<const HostType*>(entity));
        outcomeNames[pointer] = entity->id;
        byPointer[pointer] = entity->id;
    }
}

void NamePeds(World& world, RunOutcome& outcome, EntityNames& names) {
    NameSlots<CPed>(world.Peds(), names.pedSlots, outcome.pedNames, names.byPointer);
    NameSlots<CVehicle>(world.Vehicles(), names.vehicleSlots, outcome.vehicleNames, names.byPointer);
}

}  // namespace

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

namespace {

// Applies one event; a failure names the event in the scenario file.
void ApplyScenarioEvent(World& world, const Scenario& scenario, const Event& event) {
    try {
        ApplyEvent(world, event);
    } catch (const std::runtime_error& error) {
        const std::string object = event.spawnPed ? ".ped" : (event.spawnVehicle ? ".vehicle" : "");
        throw ScenarioError(scenario.sourceName, "events[" + std::to_string(event.sourceIndex) + "]" + object,
                            std::string(error.what()) + " at " + std::to_string(event.atMs) + " ms");
    }
}

RunOutcome RunFrames(const Scenario& scenario, const RunOptions& options) {
    RunOutcome outcome;
    outcome.hostClearsWanted = scenario.host.pursuit && scenario.host.wantedClearMs > 0;
    // The plugin draws from the C runtime's generator and never seeds it; the host does.
    std::srand(scenario.seed);
    World world(ScenarioWorld(scenario));
    MainLoop loop(world, ScenarioHostRules(scenario));
    LoadedModule module(options.gameDir / ModuleFileName());
    if (options.onLoad) options.onLoad(module);
    LogTail log(options.gameDir / "vigilor.log");
    TimedLog timedLog(options.gameDir / "vigilor.timed.log");
    EntityNames names;
    ProbeSchedule probes(scenario);
    if (options.onStart) options.onStart(world);
    std::size_t nextEvent = 0;
    std::uint32_t hostTime = scenario.clockStartMs;
    // Run time in 64 bits: a duration near 2^32 ms must end, not wrap around and start over.
    std::uint64_t elapsed = 0;
    bool starsFaded = false;
    while (true) {
        const std::uint32_t dt = NextFrameMs(scenario, world);
        if (elapsed + dt > scenario.durationMs) break;
        if (StopRequested()) throw RunStopped("stopped at " + std::to_string(elapsed) + " ms of the run");
        elapsed += dt;
        const auto runMs = static_cast<std::uint32_t>(elapsed);
        hostTime += dt;
        world.SetClock(hostTime);
        while (nextEvent < scenario.events.size() && scenario.events[nextEvent].atMs <= runMs) {
            ApplyScenarioEvent(world, scenario, scenario.events[nextEvent++]);
        }
        loop.RunFrame(dt);
        if (!outcome.escapedMs && loop.WantedCleared()) outcome.escapedMs = runMs;
        if (!outcome.arrestedMs && loop.Arrested()) outcome.arrestedMs = runMs;
        if (outcome.frames == 0) {
            if (const Settings* record = module.SettingsRecord()) outcome.settings = *record;
        }

        std::vector<LoggedLine> lines;
        for (std::string& text : log.NewLines()) lines.push_back({runMs, std::move(text)});
        // Names are needed only for the peds the frame's lines may speak of.
        if (!lines.empty()) {
            NamePeds(world, outcome, names);
            for (const LoggedLine& line : lines) timedLog.Write(runMs, line.text, names.byPointer);
        }
        for (const ProbeRequest& request : probes.Due(runMs)) {
            outcome.record.RecordProbe(request.expectIndex, ReadProbe(world, request.probe));
        }
        const bool faded = world.Hud().DrawnStarAlpha() < 0.999f;
        if (faded != starsFaded) {
            starsFaded = faded;
            outcome.starFades.emplace_back(runMs, faded);
        }
        if (options.onFrame) options.onFrame(world, runMs, lines);
        for (LoggedLine& line : lines) outcome.record.log.push_back(std::move(line));
        ++outcome.frames;
        outcome.lastRunMs = runMs;
    }
    CheckLogComplete(log, options.gameDir);
    timedLog.Close();
    outcome.commandCounts = world.Journal().Counts();
    outcome.hostErrors = world.ScriptErrors();
    for (const std::string& box : world.MessageBoxes()) outcome.hostErrors.push_back("message box: " + box);
    return outcome;
}

}  // namespace

RunOutcome RunScenario(const Scenario& scenario, const RunOptions& options) {
    const std::optional<std::string> ini = IniTextFor(scenario, options);
    PrepareGameDir(options, ini);
    try {
        return RunFrames(scenario, options);
    } catch (...) {
        // A run cut short must not leave a log that passes for a finished one.
        std::error_code ec;
        std::filesystem::rename(options.gameDir / "vigilor.log", options.gameDir / kUnfinishedLogName, ec);
        std::filesystem::remove(options.gameDir / "vigilor.timed.log", ec);
        throw;
    }
}

}  // namespace sandbox
