#include "run/scenario_run.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "run/event_applier.h"
#include "run/ini_text.h"
#include "run/log_tail.h"
#include "run/module_loader.h"
#include "run/probes.h"
#include "world/world.h"

namespace sandbox {

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Leaves the folder with a fresh module and INI and no log of an earlier run.
void PrepareGameDir(const RunOptions& options, const std::optional<std::string>& ini) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(options.gameDir, ec);
    if (ec) throw std::runtime_error("cannot create game folder " + options.gameDir.string() + ": " + ec.message());
    const fs::path module = options.gameDir / ModuleFileName();
    fs::remove(module, ec);
    fs::remove(options.gameDir / "vigilor.log", ec);
    fs::remove(options.gameDir / "vigilor.ini", ec);
    fs::copy_file(options.modulePath, module, fs::copy_options::overwrite_existing, ec);
    if (ec) throw std::runtime_error("cannot install " + options.modulePath.string() + ": " + ec.message());
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

void NamePeds(World& world, RunOutcome& outcome) {
    for (int i = 0; i < world.Peds().Size(); ++i) {
        if (const Ped* ped = world.Peds().At(i); ped != nullptr && !ped->id.empty()) {
            outcome.pedNames[PointerText(static_cast<const CPed*>(ped))] = ped->id;
        }
    }
}

}  // namespace

std::optional<std::string> IniTextFor(const Scenario& scenario, const RunOptions& options) {
    std::optional<std::string> text = options.iniText ? options.iniText : scenario.ini;
    if (!text && scenario.settings) {
        text = "[Settings]\n";
        for (const Setting& s : *scenario.settings) *text += s.key + "=" + s.text + "\n";
    }
    if (options.overrides.empty()) return text;
    return ApplyIniOverrides(text.value_or(""), options.overrides);
}

RunOutcome RunScenario(const Scenario& scenario, const RunOptions& options) {
    const std::optional<std::string> ini = IniTextFor(scenario, options);
    PrepareGameDir(options, ini);

    RunOutcome outcome;
    // The plugin draws from the C runtime's generator and never seeds it; the host does.
    std::srand(scenario.seed);
    World world(scenario);
    LoadedModule module(options.gameDir / ModuleFileName());
    LogTail log(options.gameDir / "vigilor.log");
    ProbeSchedule probes(scenario);
    if (options.onStart) options.onStart(world);
    std::size_t nextEvent = 0;
    std::uint32_t hostTime = scenario.clockStartMs;
    bool starsFaded = false;
    while (true) {
        const std::uint32_t dt = NextFrameMs(scenario, world);
        const std::uint32_t runMs = hostTime + dt - scenario.clockStartMs;
        if (runMs > scenario.durationMs) break;
        hostTime += dt;
        world.SetClock(hostTime);
        while (nextEvent < scenario.events.size() && scenario.events[nextEvent].atMs <= runMs) {
            ApplyEvent(world, scenario.events[nextEvent++]);
        }
        world.RunMainLoopFrame(dt);

        std::vector<LoggedLine> lines;
        for (std::string& text : log.NewLines()) lines.push_back({runMs, std::move(text)});
        // Names are needed only for the peds the frame's lines may speak of.
        if (!lines.empty()) NamePeds(world, outcome);
        for (const ProbeRequest& request : probes.Due(runMs)) {
            outcome.record.RecordProbe(request.expectIndex, ReadProbe(world, request.probe));
        }
        const bool faded = world.HudState().DrawnStarAlpha() < 0.999f;
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

}  // namespace sandbox
