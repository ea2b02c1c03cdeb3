#include "search/vehicle/car_guard.h"

#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/pools.h"
#include "host/vehicle.h"
#include "records/records.h"

namespace {

constexpr std::uint32_t kParkedLogMs = 3001;
constexpr std::uint32_t kMissionLogRepeatMs = 2500;
constexpr int kMissionLogLines = 4;  // per order
constexpr std::uint32_t kChaseReorderMs = 1001;

// 0xFFFFFFFE at load so that the first check always logs.
unsigned int loggedGameCopCars = 0xFFFFFFFEu;
unsigned int loggedRealCopCars = 0xFFFFFFFEu;

}  // namespace

void CopCarCounterCheck() {
    CPool<CVehicle>* pool = CPools::ms_pVehiclePool;
    if (pool == nullptr) return;
    unsigned int real = 0;
    for (int i = 0, n = pool->GetSize(); i < n; ++i) {
        const CVehicle* vehicle = pool->GetAt(i);
        if (vehicle != nullptr && vehicle->m_bIsLawEnforcer) ++real;
    }
    // A flag this plugin cleared still counts; one the host set again is already counted above.
    for (const auto& [handle, state] : vehicleStates) {
        if (!state.lawFlagCleared) continue;
        const CVehicle* vehicle = CPools::GetVehicle(handle);
        if (vehicle != nullptr && !vehicle->m_bIsLawEnforcer) ++real;
    }
    const unsigned int game = CCarCtrl::NumLawEnforcerCars;
    if (game != loggedGameCopCars || real != loggedRealCopCars) {
        LogLine("cop car counter: game counter=%u, real law-enforcer cars=%u", game, real);
        loggedGameCopCars = game;
        loggedRealCopCars = real;
    }
    if (cfg.HealCopCounter != 0 && game > real) {
        LogLine("cop car counter was too high (%u > %u): lowered, cop cars can spawn again", game, real);
        CCarCtrl::NumLawEnforcerCars = real;
    }
}

void ParkedCarGuard(std::uint32_t now) {
    for (auto& [handle, state] : vehicleStates) {
        if (!state.stopped) continue;
        CVehicle* vehicle = CPools::GetVehicle(handle);
        if (vehicle == nullptr || vehicle->m_autoPilot.m_nCarMission == MISSION_NONE) continue;
        if (Elapsed(now, state.parkedLogTime, kParkedLogMs)) {
            state.parkedLogTime = now;
            LogLine("parked car had mission %d, forced back to MISSION_NONE: veh=%p",
                    vehicle->m_autoPilot.m_nCarMission, static_cast<void*>(vehicle));
        }
        vehicle->m_autoPilot.m_nCarMission = MISSION_NONE;
        vehicle->m_autoPilot.m_nTempAction = 0;
        vehicle->m_autoPilot.m_nCruiseSpeed = 0;
    }
}

void VehicleRecordPass(std::uint32_t now) {
    for (auto it = vehicleStates.begin(); it != vehicleStates.end();) {
        CVehicle* vehicle = CPools::GetVehicle(it->first);
        if (vehicle == nullptr) {
            it = vehicleStates.erase(it);  // gone with its flag: nothing to give back
            continue;
        }
        VehicleState& state = it->second;
        if (state.lawFlagCleared &&
            (vehicle->m_pDriver == nullptr ||
             ElapsedOver(now, state.lawFlagClearTime, static_cast<std::uint32_t>(cfg.LawFlagMaxMs)))) {
            state.lawFlagCleared = false;
            vehicle->m_bIsLawEnforcer = true;
            LogLine("law-enforcer flag restored: veh=%p", static_cast<void*>(vehicle));
        }
        ++it;
    }
}

void CarMissionCheck(CVehicle& vehicle, VehicleState& state, std::uint32_t now) {
    if (state.lawFlagCleared && vehicle.m_bIsLawEnforcer) vehicle.m_bIsLawEnforcer = false;
    const CAutoPilot& pilot = vehicle.m_autoPilot;
    if (state.missionLogTime != 0 && Reached(now, state.missionLogTime) &&
        state.missionLogCount < kMissionLogLines) {
        ++state.missionLogCount;
        state.missionLogTime = DeadlineAfter(now, kMissionLogRepeatMs);
        LogLine("car mission check: veh=%p mission=%d tempAction=%d cruise=%d style=%d lawFlag=%d",
                static_cast<void*>(&vehicle), pilot.m_nCarMission, pilot.m_nTempAction, pilot.m_nCruiseSpeed,
                pilot.m_nCarDrivingStyle, vehicle.m_bIsLawEnforcer ? 1 : 0);
    }
    if (!host::IsChaseMission(pilot.m_nCarMission) || !Elapsed(now, state.antiLockTime, kChaseReorderMs))
        return;
    LogLine("anti-lock: vanilla chase mission %d on our car, ordering it to the scene again: veh=%p",
            pilot.m_nCarMission & 0xFF, static_cast<void*>(&vehicle));
    state.antiLockTime = now;
    state.ordered = false;  // the car search's step that follows gives a fresh order
}
