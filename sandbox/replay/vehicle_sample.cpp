#include "replay/vehicle_sample.h"

#include <cmath>

#include "host/constants.h"
#include "world/world.h"

namespace sandbox {

namespace {

constexpr float kStandingSpeed = 0.01f;  // m/s

}  // namespace

const char* VehicleActivity(const Vehicle& v, bool parked) {
    const CVector& s = v.m_vecMoveSpeed;
    const bool moving = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z) >= kStandingSpeed;
    if (parked) return "parked";
    const int mission = v.m_autoPilot.m_nCarMission;
    if (v.IsHeli() ? mission == MISSION_HELI_CHASE : host::IsChaseMission(mission)) return "chasing";
    return v.hasTarget && moving ? "driving" : "stopped";
}

void HeliSweeps::Note(World& world) {
    const auto& calls = world.Journal().HostCalls();
    for (; seen_ < calls.size(); ++seen_) {
        const HostCall& call = calls[seen_];
        if (call.address != CodeImage::kHeliOrder || call.args.size() < 3) continue;
        Points& points = points_[call.target];
        points.push_back({call.args[0], call.args[1], call.args[2]});
        if (points.size() > kShown) points.pop_front();
    }
}

const HeliSweeps::Points* HeliSweeps::Of(const std::string& vehicleId) const {
    const auto it = points_.find(vehicleId);
    return it == points_.end() ? nullptr : &it->second;
}

}  // namespace sandbox
