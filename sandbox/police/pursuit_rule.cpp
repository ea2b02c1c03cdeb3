#include "police/pursuit_rule.h"

#include "host/constants.h"

#include "pools/ped.h"
#include "pools/vehicle.h"

namespace sandbox {

bool OnHostChase(const Vehicle& vehicle) {
    const int mission = vehicle.m_autoPilot.m_nCarMission;
    return vehicle.IsHeli() ? mission == MISSION_HELI_CHASE : host::IsChaseMission(mission);
}

bool PursuesPlayer(const Ped& cop, const Ped& player) {
    if (&cop == &player || cop.m_nPedType != PED_TYPE_COP || !(cop.m_fHealth > 0.0f)) return false;
    if (!cop.m_bInVehicle) return cop.HasPursuitTask() || cop.HasCriminal(&player);
    const auto* vehicle = static_cast<const Vehicle*>(cop.m_pVehicle);
    return cop.m_nPursuitSuppressed == 0 && vehicle != nullptr && OnHostChase(*vehicle);
}

}  // namespace sandbox
