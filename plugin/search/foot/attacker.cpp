#include "search/foot/attacker.h"

#include "host/ped.h"
#include "host/player.h"
#include "host/pools.h"
#include "host/vehicle.h"
#include "records/records.h"

namespace {

// Walks the slots rather than casting: the source may be any kind of host entity.
template <class T>
T* PooledAs(CPool<T>* pool, const CEntity* entity) {
    if (pool == nullptr) return nullptr;
    for (int i = 0, n = pool->GetSize(); i < n; ++i) {
        T* object = pool->GetAt(i);
        if (object != nullptr && static_cast<const CEntity*>(object) == entity) return object;
    }
    return nullptr;
}

}  // namespace

// The host answers from the object's slot, without walking the pool.
bool InPedPool(const CPed* ped) {
    return ped != nullptr && CPools::ms_pPedPool != nullptr && CPools::ms_pPedPool->Contains(ped);
}

CPed* AttackerOf(CPed& cop) {
    const CEntity* source = cop.m_pLastDamageEntity;
    if (source == nullptr) return nullptr;
    CPed* attacker = PooledAs(CPools::ms_pPedPool, source);
    if (attacker == nullptr) {
        CVehicle* vehicle = PooledAs(CPools::ms_pVehiclePool, source);
        if (vehicle == nullptr) return nullptr;
        attacker = vehicle->m_pDriver;
    }
    if (attacker == nullptr || CPools::ms_pPedPool == nullptr || attacker == &cop ||
        attacker == FindPlayerPed(-1) || !InPedPool(attacker) || !(attacker->m_fHealth > 0.0f) ||
        attacker->m_nPedType == PED_TYPE_PLAYER1 || attacker->m_nPedType == PED_TYPE_COP) {
        return nullptr;
    }
    return attacker;
}

bool AttackerStillThere(const CopState& cop) {
    return InPedPool(cop.defence.attacker) &&
           CPools::GetPedRef(cop.defence.attacker) == cop.defence.attackerRef &&
           cop.defence.attacker->m_fHealth > 0.0f;
}
