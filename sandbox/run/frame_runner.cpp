#include "run/frame_runner.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "files/whole_file.h"
#include "main_loop/main_loop.h"
#include "run/event_applier.h"
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

// The plugin draws from the C runtime's generator and never seeds it; the host does, before the
// world and the module exist.
const Scenario& SeedHost(const Scenario& scenario) {
    std::srand(scenario.seed);
    return scenario;
}

}  // namespace

struct FrameRunner::State {
    State(const Scenario& s, const RunOptions& o)
        : scenario(SeedHost(s)),
          options(o),
          world(ScenarioWorld(scenario)),
          loop(world, ScenarioHostRules(scenario)),
          module(options.gameDir / ModuleFileName()),
          probes(scenario),
          hostTime(scenario.clockStartMs) {}

    const Scenario& scenario;
    const RunOptions& options;
    std::optional<std::uint32_t> playerMovesEnd;  ///< from here on the user plays the player
    World world;
    MainLoop loop;
    LoadedModule module;
    std::optional<LogTail> log;
    std::optional<TimedLog> timedLog;
    EntityNames names;
    ProbeSchedule probes;
    RunOutcome outcome;
    std::size_t nextEvent = 0;
    std::uint32_t hostTime;
    // Run time in 64 bits: a duration near 2^32 ms must end, not wrap around and start over.
    std::uint64_t elapsed = 0;
    std::optional<std::uint32_t> nextDt;  ///< the next frame's time, once drawn
    bool starsFaded = false;
};

FrameRunner::FrameRunner(const Scenario& scenario, const RunOptions& options)
    : state_(std::make_unique<State>(scenario, options)) {
    State& s = *state_;
    s.outcome.hostClearsWanted = scenario.host.pursuit && scenario.host.wantedClearMs > 0;
    if (options.onLoad) options.onLoad(s.module);
    s.log.emplace(options.gameDir / "vigilor.log");
    s.timedLog.emplace(options.gameDir / "vigilor.timed.log");
    if (options.onStart) options.onStart(s.world);
}

FrameRunner::~FrameRunner() = default;

World& FrameRunner::GetWorld() { return state_->world; }

const RunOutcome& FrameRunner::Outcome() const { return state_->outcome; }

void FrameRunner::EndScenarioPlayerMoves(std::uint32_t fromMs) { state_->playerMovesEnd = fromMs; }

std::uint32_t FrameRunner::NextRunMs() {
    State& s = *state_;
    if (!s.nextDt) s.nextDt = NextFrameMs(s.scenario, s.world);
    return static_cast<std::uint32_t>(s.elapsed + *s.nextDt);
}

bool FrameRunner::Step(std::span<const Event> extra, bool pastDuration) {
    State& s = *state_;
    const std::uint32_t dt = s.nextDt ? *s.nextDt : NextFrameMs(s.scenario, s.world);
    s.nextDt.reset();
    if (!pastDuration && s.elapsed + dt > s.scenario.durationMs) {
        s.nextDt = dt;
        return false;
    }
    if (StopRequested()) throw RunStopped("stopped at " + std::to_string(s.elapsed) + " ms of the run");
    s.elapsed += dt;
    const auto runMs = static_cast<std::uint32_t>(s.elapsed);
    s.hostTime += dt;
    s.world.SetClock(s.hostTime);
    const std::vector<Event>& events = s.scenario.events;
    while (s.nextEvent < events.size() && events[s.nextEvent].atMs <= runMs) {
        const Event& event = events[s.nextEvent++];
        if (s.playerMovesEnd && MovesThePlayer(event.kind) && event.atMs >= *s.playerMovesEnd) continue;
        ApplyScenarioEvent(s.world, s.scenario, event);
    }
    for (const Event& event : extra) ApplyScenarioEvent(s.world, s.scenario, event);
    s.loop.RunFrame(dt);
    RunOutcome& outcome = s.outcome;
    if (!outcome.escapedMs && s.loop.WantedCleared()) outcome.escapedMs = runMs;
    if (!outcome.arrestedMs && s.loop.Arrested()) outcome.arrestedMs = runMs;
    if (outcome.frames == 0) {
        if (const Settings* record = s.module.SettingsRecord()) outcome.settings = *record;
    }

    std::vector<LoggedLine> lines;
    for (std::string& text : s.log->NewLines()) lines.push_back({runMs, std::move(text)});
    // Names are needed only for the peds the frame's lines may speak of.
    if (!lines.empty()) {
        NamePeds(s.world, outcome, s.names);
        for (const LoggedLine& line : lines) s.timedLog->Write(runMs, line.text, s.names.byPointer);
    }
    for (const ProbeRequest& request : s.probes.Due(runMs)) {
        outcome.record.RecordProbe(request.expectIndex, ReadProbe(s.world, request.probe));
    }
    const bool faded = s.world.Hud().DrawnStarAlpha() < 0.999f;
    if (faded != s.starsFaded) {
        s.starsFaded = faded;
        outcome.starFades.emplace_back(runMs, faded);
    }
    if (s.options.onFrame) s.options.onFrame(s.world, runMs, lines);
    for (LoggedLine& line : lines) outcome.record.log.push_back(std::move(line));
    ++outcome.frames;
    outcome.lastRunMs = runMs;
    return true;
}

RunOutcome FrameRunner::Finish() {
    State& s = *state_;
    CheckLogComplete(*s.log, s.options.gameDir);
    s.timedLog->Close();
    RunOutcome outcome = std::move(s.outcome);
    outcome.commandCounts = s.world.Journal().Counts();
    outcome.hostErrors = s.world.ScriptErrors();
    for (const std::string& box : s.world.MessageBoxes()) outcome.hostErrors.push_back("message box: " + box);
    return outcome;
}

}  // namespace sandbox
