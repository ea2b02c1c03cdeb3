#include "frame/cop_pass.h"

#include "awareness/sight_test.h"
#include "awareness/suppression.h"
#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/ped.h"
#include "host/vehicle.h"
#include "records/records.h"
#include "records/scene.h"
#include "records/tick_context.h"
#include "search/foot/foot_search.h"
#include "search/foot/self_defence.h"
#include "search/vehicle/car_guard.h"
#include "search/vehicle/car_search.h"
#include "search/vehicle/heli_search.h"

namespace {

// Every stay in a vehicle ends any foot search, so that a cop who gets out starts afresh.
void NoteInVehicle(CopState& cop, std::uint32_t now) {
    cop.awareness.inVehicleTime = now;
    cop.PauseFootSearch();
}

// A car the car search is driving keeps being driven, whatever its crew knows.
void DriveOrderedCar(CPed& ped, CVehicle& vehicle, const Scene& scene, std::uint32_t now) {
    if (cfg.VehicleSearch == 0 || IsPoliceHeli(&vehicle) || vehicle.m_pDriver != &ped) return;
    VehicleState* car = FindVehicle(&vehicle);
    if (car == nullptr || !car->ordered || car->stopped) return;
    CarMissionCheck(vehicle, *car, now);
    CarSearchStep(vehicle, ped, scene, now);
}

void MarkLost(CPed& ped, CopState& cop, bool inVehicle) {
    cop.MarkLost(ped);
    LogLine("cop lost the player: ped=%p inCar=%d", static_cast<void*>(&ped), inVehicle ? 1 : 0);
}

void ChaseAgain(CPed& ped, CopState& cop, CVehicle* vehicle) {
    LogLine("cop is chasing again: ped=%p", static_cast<void*>(&ped));
    if (vehicle == nullptr && cop.foot.searchTaskGiven) {
        // No search step of ours may stay on a cop the host pursues with again.
        LogLine("clearing search task: ped=%p", static_cast<void*>(&ped));
        ped.m_pIntelligence->FlushImmediately(true);
        LogLine("search task cleared: ped=%p", static_cast<void*>(&ped));
    }
    cop.ChaseAgain(ped);
    if (vehicle != nullptr && IsPoliceHeli(vehicle) && vehicle->m_pDriver == &ped) HeliChasingAgain(*vehicle);
}

void SearchWhileLost(CPed& ped, CopState& cop, CVehicle* vehicle, const Scene& scene, std::uint32_t now) {
    if (vehicle == nullptr) {
        if (HoldLostCopOnFoot(ped, cop, now) && cfg.FootSearch != 0 && cop.watch.pursuitFlushed) {
            FootSearchTick(ped, cop, scene, now);
        }
        return;
    }
    if (vehicle->m_pDriver != &ped) return;  // a passenger rides along
    if (IsPoliceHeli(vehicle)) {
        if (cfg.HeliSearch != 0) HeliSweep(*vehicle, scene, now);
        return;
    }
    if (cfg.VehicleSearch == 0) return;
    // An ordered car was stepped above and a parked one is held; only a car not yet ordered starts here.
    const VehicleState* car = FindVehicle(vehicle);
    if (car == nullptr || (!car->ordered && !car->stopped)) CarSearchStep(*vehicle, ped, scene, now);
}

}  // namespace

int CopPass(const TickContext& tick) {
    const std::uint32_t now = tick.now;
    int lostCount = 0;
    for (const CopSighting& s : tick.sightings) {
        CPed& ped = *s.ped;
        CopState& cop = *s.cop;
        CVehicle* vehicle = s.inVehicle ? ped.m_pVehicle : nullptr;
        if (vehicle != nullptr) {
            NoteInVehicle(cop, now);
            DriveOrderedCar(ped, *vehicle, tick.scene, now);
        }
        if (DefendStep(ped, cop, s, now)) continue;
        if (ParkedCarHold(ped, cop, vehicle, now)) {
            ++lostCount;
            continue;
        }
        if (cop.awareness.GraceOver(now)) {
            ++lostCount;
            if (cfg.CutPursuit == 0) continue;
            if (!cop.awareness.lost) MarkLost(ped, cop, vehicle != nullptr);
            SearchWhileLost(ped, cop, vehicle, tick.scene, now);
        } else if (cop.awareness.lost) {
            ChaseAgain(ped, cop, vehicle);
        }
    }
    return lostCount;
}
