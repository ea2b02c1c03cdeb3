#include "awareness/sight_pass.h"

#include "awareness/disguise.h"
#include "awareness/sight_test.h"
#include "host/ped.h"
#include "host/player.h"
#include "host/pools.h"
#include "records/distance.h"
#include "records/records.h"
#include "records/tick_context.h"

namespace {
constexpr float kListRadiusSq = 200.0f * 200.0f;
}  // namespace

void BuildSightings(TickContext& tick) {
    CPool<CPed>* pool = CPools::ms_pPedPool;
    if (pool == nullptr) return;
    const CVector& P = tick.playerPos;
    const bool disguised = tick.disguise.Active();
    for (int i = 0, n = pool->GetSize(); i < n; ++i) {
        CPed* ped = pool->GetAt(i);
        if (ped == nullptr || ped == &tick.player || ped->m_nPedType != PED_TYPE_COP ||
            !(ped->m_fHealth > 0.0f))
            continue;
        const CVector C = ped->GetPosition();
        if (DistanceSq(P, C) > kListRadiusSq) continue;
        const CVehicle* vehicle = SeatedVehicle(*ped);
        const int handle = CPools::GetPedRef(ped);
        auto record = copStates.find(handle);
        CopState* cop = record == copStates.end() ? nullptr : &record->second;
        const bool seeing = SightTest(*ped, cop, P, tick.playerOnFoot, disguised, tick.now);
        tick.sightings.push_back({ped, handle, C, seeing, vehicle != nullptr, IsPoliceHeli(vehicle), cop});
    }
}
