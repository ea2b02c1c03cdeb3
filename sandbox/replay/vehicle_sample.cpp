#include "replay/vehicle_sample.h"

#include <cmath>

#include "police/police_vehicles.h"
#include "replay/log_state.h"
#include "replay/replay_json.h"
#include "world/world.h"

namespace sandbox {

namespace {

constexpr float kStandingSpeed = 0.01f;  // m/s
constexpr std::size_t kSweepPointsShown = 6;

const char* VehicleActivity(const Vehicle& v, bool parked) {
    const CVector& s = v.m_vecMoveSpeed;
    const bool moving = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z) >= kStandingSpeed;
    if (parked) return "parked";
    const int mission = v.m_autoPilot.m_nCarMission;
    if (v.IsHeli() ? mission == MISSION_HELI_CHASE : IsHostChaseMission(mission)) return "chasing";
    return v.hasTarget && moving ? "driving" : "stopped";
}

// The latest points of the host's helicopter order on this helicopter, oldest first.
nlohmann::json SweepPoints(World& world, const Vehicle& heli) {
    nlohmann::json points = nlohmann::json::array();
    const auto& calls = world.Journal().HostCalls();
    for (auto it = calls.rbegin(); it != calls.rend() && points.size() < kSweepPointsShown; ++it) {
        if (it->address == CodeImage::kHeliOrder && it->target == heli.id && it->args.size() >= 3) {
            points.insert(points.begin(), nlohmann::json{it->args[0], it->args[1], it->args[2]});
        }
    }
    return points;
}

}  // namespace

nlohmann::json VehicleSample(World& world, const Vehicle& v, const std::string& pointer,
                             const LogState& log) {
    nlohmann::json sample = {{"id", v.id},
                             {"ptr", pointer},
                             {"model", v.m_nModelIndex},
                             {"pos", Point(v.Position())},
                             {"heading", Degrees(v.m_fHeading)},
                             {"lawEnforcer", v.m_bIsLawEnforcer},
                             {"mission", static_cast<int>(v.m_autoPilot.m_nCarMission)},
                             {"state", VehicleActivity(v, log.Parked(pointer))},
                             {"target", v.hasTarget ? Point(v.target) : nlohmann::json(nullptr)}};
    if (v.IsHeli()) sample["sweeps"] = SweepPoints(world, v);
    return sample;
}

}  // namespace sandbox
