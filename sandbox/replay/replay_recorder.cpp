#include "replay/replay_recorder.h"

#include <cmath>
#include <cstdio>

#include "replay/host_view.h"
#include "replay/replay_json.h"
#include "replay/vehicle_sample.h"
#include "run/scenario_run.h"
#include "scenario/scenario.h"
#include "world/world.h"

namespace sandbox {

namespace {

// The plugin asks from eye height above the cop's feet; matching a question to its cop allows this.
constexpr float kEyeHeight = 0.6f;
constexpr float kMatchTolerance = 0.01f;
// A cop counts as seeing while his last question, at most this old, was answered clear.
constexpr std::uint32_t kSeeingHoldMs = 300;

std::string PointerText(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

std::string VehicleId(const CVehicle* vehicle) {
    return vehicle == nullptr ? std::string() : static_cast<const Vehicle*>(vehicle)->id;
}

}  // namespace

ReplayRecorder::ReplayRecorder(const Scenario& scenario, std::optional<std::string> iniText) {
    data_["scenario"] = {{"name", scenario.name},
                         {"description", scenario.description},
                         {"durationMs", scenario.durationMs},
                         {"seed", scenario.seed}};
    data_["ini"] = iniText ? nlohmann::json(*iniText) : nlohmann::json(nullptr);
    nlohmann::json boxes = nlohmann::json::array();
    for (const Box& box : scenario.world.boxes) {
        boxes.push_back({{"id", box.id}, {"min", Point(box.min)}, {"max", Point(box.max)}});
    }
    data_["world"] = {{"groundZ", scenario.world.groundZ}, {"boxes", boxes}};
    data_["samples"] = nlohmann::json::array();
    data_["log"] = nlohmann::json::array();
    data_["shots"] = nlohmann::json::array();
}

void ReplayRecorder::Attach(RunOptions& options) {
    options.onStart = [this](World& world) { OnStart(world); };
    options.onFrame = [this](World& world, std::uint32_t runMs, const std::vector<LoggedLine>& lines) {
        OnFrame(world, runMs, lines);
    };
}

void ReplayRecorder::OnStart(World& world) {
    world.LineOfSight().kept = true;
    data_["world"].update(WorldLayout(world));
}

void ReplayRecorder::OnFrame(World& world, std::uint32_t runMs, const std::vector<LoggedLine>& lines) {
    const Vec3 player = world.Player()->Position();
    for (const LoggedLine& line : lines) {
        logState_.Read(line.text, player);
        footSearch_.Read(line.text, line.runMs);
        data_["log"].push_back({{"t", line.runMs}, {"text", line.text}});
    }
    if (!lines.empty()) data_["shots"] = footSearch_.Shots();
    logState_.FollowPlayer(player);
    NoteSightQueries(world, runMs);
    footSearch_.NoteOrders(world, runMs);
    if (lastSampleMs_ && runMs - *lastSampleMs_ < kSampleMs) return;
    lastSampleMs_ = runMs;
    data_["samples"].push_back(Sample(world, runMs));
}

void ReplayRecorder::NoteSightQueries(World& world, std::uint32_t runMs) {
    std::vector<SightQuery>& queries = world.LineOfSight().recent;
    for (const SightQuery& q : queries) {
        const Vec3 feet = q.from - Vec3{0.0f, 0.0f, kEyeHeight};
        for (int i = 0; i < world.Peds().Size(); ++i) {
            const Ped* ped = world.Peds().At(i);
            if (ped != nullptr && Length(ped->Position() - feet) <= kMatchTolerance) {
                lastQuery_[PointerText(static_cast<const CPed*>(ped))] = {runMs, q.clear};
                break;
            }
        }
    }
    queries.clear();
}

bool ReplayRecorder::Seeing(const std::string& pedPointer, std::uint32_t runMs) const {
    auto it = lastQuery_.find(pedPointer);
    return it != lastQuery_.end() && it->second.clear && runMs - it->second.runMs <= kSeeingHoldMs;
}

nlohmann::json ReplayRecorder::Sample(World& world, std::uint32_t runMs) const {
    const Ped& player = *world.Player();
    nlohmann::json sample = {
        {"t", runMs},
        {"player",
         {{"pos", Point(player.Position())},
          {"heading", Degrees(player.m_fHeading)},
          {"vehicle", player.m_bInVehicle ? VehicleId(player.m_pVehicle) : std::string()},
          {"health", player.m_fHealth},
          {"wanted", world.Wanted().m_nWantedLevel}}},
        {"scene", logState_.sceneValid ? Point(logState_.scene) : nlohmann::json(nullptr)},
        {"counts",
         {{"seeing", logState_.seeing}, {"lost", logState_.lost}, {"sceneShared", logState_.sceneShared}}},
        {"starAlpha", world.HudState().DrawnStarAlpha()},
    };
    nlohmann::json cops = nlohmann::json::array();
    for (int i = 0; i < world.Peds().Size(); ++i) {
        const Ped* ped = world.Peds().At(i);
        if (ped == nullptr || ped == &player || ped->m_nPedType != PED_TYPE_COP) continue;
        const std::string pointer = PointerText(static_cast<const CPed*>(ped));
        const bool lost = ped->m_nPursuitSuppressed != 0 || logState_.Lost(pointer);
        const bool seeing = Seeing(pointer, runMs);
        const Vehicle* seat = ped->m_bInVehicle ? static_cast<const Vehicle*>(ped->m_pVehicle) : nullptr;
        cops.push_back({{"id", ped->id},
                        {"ptr", pointer},
                        {"pos", Point(ped->Position())},
                        {"heading", Degrees(seat != nullptr ? seat->m_fHeading : ped->m_fHeading)},
                        {"vehicle", VehicleId(seat)},
                        {"health", ped->m_fHealth},
                        {"suppressed", ped->m_nPursuitSuppressed != 0},
                        {"state", ped->m_fHealth <= 0.0f ? "dead"
                                  : seeing               ? "seeing"
                                  : lost                 ? "lost"
                                                         : "chasing"},
                        {"search", footSearch_.CopSearch(world, *ped, pointer, logState_)},
                        {"order", footSearch_.LastOrder(world, *ped)}});
    }
    sample["cops"] = std::move(cops);
    sample["shotsHeard"] = footSearch_.Shots().size();
    nlohmann::json vehicles = nlohmann::json::array();
    for (int i = 0; i < world.Vehicles().Size(); ++i) {
        const Vehicle* v = world.Vehicles().At(i);
        if (v == nullptr) continue;
        vehicles.push_back(VehicleSample(world, *v, PointerText(static_cast<const CVehicle*>(v)), logState_));
    }
    sample["vehicles"] = std::move(vehicles);
    AddHostOrders(world, sample);
    return sample;
}

}  // namespace sandbox
