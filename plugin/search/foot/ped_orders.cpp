#include "search/foot/ped_orders.h"

#include "host/ped.h"
#include "host/pools.h"

namespace {
constexpr int kTaskLeaveVehicle = 704;
}  // namespace

bool LeavingVehicle(CPed& ped) {
    return ped.m_pIntelligence->m_TaskMgr.FindActiveTaskByType(kTaskLeaveVehicle) != nullptr;
}

void FlushTasks(CPed& ped) { ped.m_pIntelligence->FlushImmediately(true); }

int HandleOf(CPed& ped) { return CPools::GetPedRef(&ped); }
