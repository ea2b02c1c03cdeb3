#include "run/scenario_run.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "main_loop/main_loop.h"
#include "run/event_applier.h"
#include "run/ini_text.h"
#include "run/log_tail.h"
#include "run/module_loader.h"
#include "run/probes.h"
#include "run/timed_log.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace sandbox {

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Copies the module into the game folder. The copy goes under a temporary name first and then
// replaces the old file, so the old file is never removed before the new one is complete; and a
// folder that already holds this very module (--dir at the build's own folder) keeps it untouched.
void InstallModule(const std::filesystem::path& source, const std::filesystem::path& target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::equivalent(source, target, ec)) return;
    const fs::path partial = target.string() + ".installing";
    fs::copy_file(source, partial, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(partial, target, ec);
    if (ec) {
        const std::string reason = ec.message();
        fs::remove(partial, ec);
        throw std::runtime_error("cannot install " + source.string() + " as " + target.string() + ": " +
                                 reason);
    }
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
    if (ini) WriteFile(options.gameDir / "vigilor.ini", *ini);
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
    // The plugin draws from the C runtime's generator and never seeds it; the host does.
    std::srand(scenario.seed);
    World world(ScenarioWorld(scenario));
    MainLoop loop(world, scenario.host.pursuit);
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
        elapsed += dt;
        const auto runMs = static_cast<std::uint32_t>(elapsed);
        hostTime += dt;
        world.SetClock(hostTime);
        while (nextEvent < scenario.events.size() && scenario.events[nextEvent].atMs <= runMs) {
            ApplyScenarioEvent(world, scenario, scenario.events[nextEvent++]);
        }
        loop.RunFrame(dt);
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
