#include "search/vehicle/heli_search.h"

#include <cmath>
#include <cstdlib>

#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/code.h"
#include "host/pools.h"
#include "host/vehicle.h"
#include "host/world.h"
#include "records/records.h"
#include "records/scene.h"
#include "search/search_math.h"

namespace {

// The host's own order that sends a helicopter to a point at three heights.
constexpr plugin::CodeAddress kHeliOrder = 0x6A2390;
constexpr std::uint32_t kSweepMinMs = 6000;
constexpr int kSweepSpreadMs = 4000;
constexpr float kSweepTurn = 6.28f;
// Heights of the order, as parts of HeliAltitude above the ground.
constexpr float kLowFactor = 0.7f;
constexpr float kHighFactor = 1.5f;

}  // namespace

void HeliSweep(CVehicle& heli, const Scene& scene, std::uint32_t now) {
    VehicleState& state = GetVehicle(&heli);
    if (Pending(now, state.nextSweepTime)) return;
    float x = scene.scenePos.x;
    float y = scene.scenePos.y;
    if (state.ordered) {
        // Uniform in distance, so the sweep dwells near the scene.
        const float angle = static_cast<float>(std::rand() % 1000) * kSweepTurn / 999.0f;
        const float r = static_cast<float>(std::rand() % 1000) * cfg.SearchRadius / 999.0f;
        x += r * std::cos(angle);
        y += r * std::sin(angle);
    }
    float ground = CWorld::FindGroundZForCoord(x, y);
    if (ground < kNoGroundZ) ground = scene.scenePos.z;
    LogLine("helicopter sweep: veh=%p target=%.1f,%.1f ground=%.1f", static_cast<void*>(&heli),
            static_cast<double>(x), static_cast<double>(y), static_cast<double>(ground));
    const float altitude = cfg.HeliAltitude;
    plugin::CallMethod<kHeliOrder>(&heli, x, y, ground + altitude, ground + kLowFactor * altitude,
                                   ground + kHighFactor * altitude);
    LogLine("helicopter order given: veh=%p", static_cast<void*>(&heli));
    state.ordered = true;
    state.nextSweepTime = DeadlineAfter(now, kSweepMinMs + std::rand() % kSweepSpreadMs);
}

void HeliChasingAgain(CVehicle& heli) {
    auto it = vehicleStates.find(CPools::GetVehicleRef(&heli));
    if (it == vehicleStates.end()) return;
    vehicleStates.erase(it);
    heli.m_autoPilot.m_nCarMission = MISSION_HELI_CHASE;
    LogLine("helicopter chasing again: veh=%p", static_cast<void*>(&heli));
}
