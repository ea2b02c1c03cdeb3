#include "awareness/records.h"

#include "host/pools.h"

CopState* FindCop(CPed* ped) {
    auto it = copStates.find(CPools::GetPedRef(ped));
    return it == copStates.end() ? nullptr : &it->second;
}

CopState& GetCop(CPed* ped) { return copStates[CPools::GetPedRef(ped)]; }

VehicleState* FindVehicle(CVehicle* vehicle) {
    auto it = vehicleStates.find(CPools::GetVehicleRef(vehicle));
    return it == vehicleStates.end() ? nullptr : &it->second;
}

VehicleState& GetVehicle(CVehicle* vehicle) { return vehicleStates[CPools::GetVehicleRef(vehicle)]; }
