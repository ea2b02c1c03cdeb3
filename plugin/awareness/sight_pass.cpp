#include "awareness/sight_pass.h"

#include "awareness/records.h"
#include "awareness/sight_test.h"
#include "host/ped.h"
#include "host/pools.h"

namespace {
constexpr float kListRadiusSq = 200.0f * 200.0f;
}  // namespace

void BuildSightings(CPed& player, std::uint32_t now) {
    CPool<CPed>* pool = CPools::ms_pPedPool;
    if (pool == nullptr) return;
    const CVector P = player.GetPosition();
    const bool playerOnFoot = SeatedVehicle(player) == nullptr;
    for (int i = 0, n = pool->GetSize(); i < n; ++i) {
        CPed* ped = pool->GetAt(i);
        if (ped == nullptr || ped == &player || ped->m_nPedType != PED_TYPE_COP || !(ped->m_fHealth > 0.0f)) continue;
        const CVector C = ped->GetPosition();
        const float dx = P.x - C.x;
        const float dy = P.y - C.y;
        const float dz = P.z - C.z;
        if (dx * dx + dy * dy + dz * dz > kListRadiusSq) continue;
        const CVehicle* vehicle = SeatedVehicle(*ped);
        sightings.push_back({ped, C, SightTest(*ped, P, playerOnFoot, now), vehicle != nullptr, IsPoliceHeli(vehicle)});
    }
}
