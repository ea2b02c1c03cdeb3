#include "search/ped_orders.h"

#include "host/constants.h"
#include "host/ped.h"
#include "host/pools.h"

bool LeavingVehicle(CPed& ped) {
    return ped.m_pIntelligence->m_TaskMgr.FindActiveTaskByType(host::kTaskLeaveVehicle) != nullptr;
}

void FlushTasks(CPed& ped) { ped.m_pIntelligence->FlushImmediately(true); }

int HandleOf(CPed& ped) { return CPools::GetPedRef(&ped); }
