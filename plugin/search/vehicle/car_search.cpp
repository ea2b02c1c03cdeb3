#include "search/vehicle/car_search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/ped.h"
#include "host/player.h"
#include "host/pools.h"
#include "host/scripting.h"
#include "host/vehicle.h"
#include "host/world.h"
#include "records/records.h"
#include "records/scene.h"
#include "search/ped_orders.h"
#include "search/search_math.h"

namespace {

constexpr float kSceneTolerance = 25.0f;  // m the scene may move before an ordered car is re-ordered
constexpr float kTrackToleranceExtra = 15.0f;
constexpr float kProgressStep = 5.0f;    // m the car must gain for the stuck clock to restart
constexpr float kStandingSpeed = 0.01f;  // m/s
// A car just ordered needs a moment to get going before standing still counts.
constexpr std::uint32_t kHaltGraceMs = 4001;
constexpr std::uint32_t kFirstMissionLogMs = 700;
constexpr float kTwoPi = 6.2832f;

// One blurred player position for every tracking car, redrawn now and then.
CVector trackOffset;
std::uint32_t trackTime = 0;

struct Wanted {
    CVector target;
    bool tracking = false;
    float playerDist = -1.0f;
};

void DrawTrackOffset(std::uint32_t now) {
    const float angle = static_cast<float>(std::rand() % 1000) * kTwoPi / 999.0f;
    const float r = cfg.TrackError * std::sqrt(DrawUnit());  // uniform over the disc
    trackOffset = {r * std::cos(angle), r * std::sin(angle), 0.0f};
    trackTime = now;
}

Wanted WantedTarget(const CVehicle& car, const Scene& scene, std::uint32_t now) {
    Wanted w;
    const CPlayerPed* player = FindPlayerPed(-1);
    w.tracking = cfg.VehicleTracksPlayer != 0 && player != nullptr;
    if (w.tracking) {
        if (trackTime == 0 || ElapsedOver(now, trackTime, static_cast<std::uint32_t>(cfg.TrackRefreshMs))) {
            DrawTrackOffset(now);
        }
        const CVector& p = player->GetPosition();
        w.target = {p.x + trackOffset.x, p.y + trackOffset.y, p.z};
        const float ground = CWorld::FindGroundZForCoord(w.target.x, w.target.y);
        if (ground > kNoGroundZ) w.target.z = ground;
    } else {
        w.target = scene.scenePos;
    }
    if (player != nullptr) w.playerDist = Distance2D(car.GetPosition(), player->GetPosition());
    return w;
}

void ClearLawFlag(CVehicle& car, VehicleState& state, std::uint32_t now) {
    car.m_bIsLawEnforcer = false;
    state.lawFlagCleared = true;
    state.lawFlagClearTime = now;
}

void Order(CVehicle& car, CPed& driver, VehicleState& state, const Wanted& w, const Scene& scene,
           std::uint32_t now) {
    state.target = w.target;
    state.ordered = true;
    state.haltSince = 0;
    const float dist = Distance2D(car.GetPosition(), state.target);
    state.bestDist = dist;
    state.progressTime = now;
    LogLine("car ordered to target: veh=%p targetDist=%.1f playerDist=%.1f track=%d sceneAge=%ums",
            static_cast<void*>(&car), static_cast<double>(dist), static_cast<double>(w.playerDist),
            w.tracking ? 1 : 0, now - scene.sceneTime);
    if (cfg.ClearLawFlag != 0 && car.m_bIsLawEnforcer) ClearLawFlag(car, state, now);
    plugin::scripting::CallCommandById(host::kCommandDriveTo, HandleOf(driver), CPools::GetVehicleRef(&car),
                                       state.target.x, state.target.y, state.target.z, cfg.VehicleSpeed, 0, 0,
                                       2);
    LogLine("car drive task given: veh=%p", static_cast<void*>(&car));
    state.missionLogTime = DeadlineAfter(now, kFirstMissionLogMs);
    state.missionLogCount = 0;
}

// The cop leaves the car already lost, with the car's destination as his own search point.
void UnloadCop(CPed& ped, const VehicleState& state, std::uint32_t now) {
    if (!ped.m_bInVehicle || ped.m_nPedType != PED_TYPE_COP) return;
    CopState& cop = GetCop(&ped);
    cop.awareness.PastGrace(now);
    if (!cop.awareness.lost) cop.MarkLost(ped);
    cop.foot.SearchFrom(state.target, now);
    if (!LeavingVehicle(ped)) plugin::scripting::CallCommandById(host::kCommandLeaveVehicle, HandleOf(ped));
}

void Stop(CVehicle& car, VehicleState& state, std::uint32_t now) {
    state.stopped = true;
    state.stopTime = now;
    state.unloaded = 1;
    // A parked car must not count as a cop car the host can send on a chase: always cleared here.
    if (car.m_bIsLawEnforcer) ClearLawFlag(car, state, now);
    car.m_autoPilot.m_nCarMission = MISSION_NONE;
    car.m_autoPilot.m_nTempAction = 0;
    car.m_autoPilot.m_nCruiseSpeed = 0;
    if (car.m_pDriver != nullptr) UnloadCop(*car.m_pDriver, state, now);
    for (CPed* passenger : car.m_apPassengers) {
        if (passenger != nullptr) UnloadCop(*passenger, state, now);
    }
    LogLine("car unloaded its cops: veh=%p", static_cast<void*>(&car));
}

void Watch(CVehicle& car, VehicleState& state, const Wanted& w, std::uint32_t now) {
    const float targetDist = Distance2D(car.GetPosition(), state.target);
    const CVector& v = car.m_vecMoveSpeed;
    const float speed = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (state.bestDist - kProgressStep > targetDist) {
        state.bestDist = targetDist;
        state.progressTime = now;
    }
    const bool nearPlayer = w.tracking && w.playerDist >= 0.0f && w.playerDist < cfg.VehiclePlayerDist;
    const bool arrived = targetDist < std::max(cfg.CarUnloadDist, cfg.VehicleArriveDist);
    const bool stuck = ElapsedOver(now, state.progressTime, static_cast<std::uint32_t>(cfg.VehicleStuckMs));
    bool halted = false;
    if (speed < kStandingSpeed && Elapsed(now, state.orderTime, kHaltGraceMs)) {
        if (state.haltSince == 0) state.haltSince = now;
        halted = ElapsedOver(now, state.haltSince, static_cast<std::uint32_t>(cfg.VehicleHaltMs));
    } else {
        state.haltSince = 0;
    }
    if (!arrived && !nearPlayer && !stuck && !halted) return;
    LogLine("car stopped: veh=%p arrived=%d nearPlayer=%d stuck=%d halted=%d targetDist=%.1f playerDist=%.1f",
            static_cast<void*>(&car), arrived ? 1 : 0, nearPlayer ? 1 : 0, stuck ? 1 : 0, halted ? 1 : 0,
            static_cast<double>(targetDist), static_cast<double>(w.playerDist));
    Stop(car, state, now);
}

}  // namespace

void ResetCarTrack() { trackTime = 0; }

void CarSearchStep(CVehicle& vehicle, CPed& driver, const Scene& scene, std::uint32_t now) {
    if (vehicle.m_nModelIndex == host::kModelNeverSearching) return;
    VehicleState& state = GetVehicle(&vehicle);
    const Wanted w = WantedTarget(vehicle, scene, now);
    if (!state.ordered) {
        state.orderTime = now;
        Order(vehicle, driver, state, w, scene, now);
        return;
    }
    const float tolerance = w.tracking ? 2.0f * cfg.TrackError + kTrackToleranceExtra : kSceneTolerance;
    if (Distance2D(state.target, w.target) > tolerance) {
        Order(vehicle, driver, state, w, scene, now);
        return;
    }
    Watch(vehicle, state, w, now);
}
