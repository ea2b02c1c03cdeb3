#include "records/records.h"

#include <algorithm>
#include <cstdlib>

#include "base/game_clock.h"
#include "base/settings.h"
#include "host/ped.h"
#include "host/pools.h"
#include "records/sighting.h"

float nextSweepPhase = 0.0f;

namespace {
constexpr float kSweepPhaseStep = 2.4f;  // radians; spreads the cops' sweeps around the scene
int lostCops = 0;                        // at the last count
}  // namespace

bool CopAwareness::GraceOver(std::uint32_t now) const {
    return ElapsedOver(now, lastKnownTime, static_cast<std::uint32_t>(cfg.PursuitGraceMs));
}

void CopAwareness::PastGrace(std::uint32_t now) {
    lastKnownTime = now - static_cast<std::uint32_t>(cfg.PursuitGraceMs) - 1;
}

void CopState::MarkLost(CPed& ped) {
    awareness.lost = true;
    ped.m_nPursuitSuppressed = 1;
}

void CopState::ChaseAgain(CPed& ped) {
    awareness.lost = false;
    ped.m_nPursuitSuppressed = 0;
    ForgetFootSearch();
    foot.ownSceneValid = false;
}

CopState* FindCop(CPed* ped) {
    auto it = copStates.find(CPools::GetPedRef(ped));
    return it == copStates.end() ? nullptr : &it->second;
}

CopState& GetCop(CPed* ped) { return copStates[CPools::GetPedRef(ped)]; }

CopState& RecordOf(CopSighting& sighting) {
    if (sighting.cop == nullptr) sighting.cop = &copStates[sighting.handle];
    return *sighting.cop;
}

VehicleState* FindVehicle(CVehicle* vehicle) {
    auto it = vehicleStates.find(CPools::GetVehicleRef(vehicle));
    return it == vehicleStates.end() ? nullptr : &it->second;
}

VehicleState& GetVehicle(CVehicle* vehicle) { return vehicleStates[CPools::GetVehicleRef(vehicle)]; }

void FirstStamp(CopState& cop, std::uint32_t now) {
    cop.awareness.lastKnownTime = now;
    cop.foot.moveStyle = std::rand() % 100 < cfg.RunnerPercent ? 1 : 0;
    cop.foot.sweepPhase = nextSweepPhase;
    nextSweepPhase += kSweepPhaseStep;
}

void RecountLostCops() {
    lostCops = static_cast<int>(std::count_if(copStates.begin(), copStates.end(),
                                              [](const auto& entry) { return entry.second.awareness.lost; }));
}

bool AnyCopLost() { return lostCops != 0; }

void PurgeCopRecords() {
    // A listed cop always resolves to a live cop of the pool, so one test covers both keeping rules.
    // A stale handle resolves to nothing even when its slot already holds a new ped.
    std::erase_if(copStates, [](const auto& entry) {
        CPed* ped = CPools::GetPed(entry.first);
        if (ped == nullptr) return true;
        if (ped->m_nPedType == PED_TYPE_COP) return false;
        // Still in the host but no cop any more: once his record is gone nothing would lower the
        // flag we raised on him, so it goes back now.
        if (entry.second.awareness.lost) ped->m_nPursuitSuppressed = 0;
        return true;
    });
}
