#include "search/vehicle/heli_search.h"

#include "awareness/records.h"
#include "frame/log.h"
#include "host/pools.h"
#include "host/vehicle.h"

void HeliSweep(CVehicle&, std::uint32_t) {}

void HeliChasingAgain(CVehicle& heli) {
    auto it = vehicleStates.find(CPools::GetVehicleRef(&heli));
    if (it == vehicleStates.end()) return;
    vehicleStates.erase(it);
    heli.m_autoPilot.m_nCarMission = MISSION_HELI_CHASE;
    LogLine("helicopter chasing again: veh=%p", static_cast<void*>(&heli));
}
