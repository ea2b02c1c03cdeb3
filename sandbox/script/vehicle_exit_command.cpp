// Script command 0x0633: the ped gets out of his vehicle. Getting out takes the host a while (task
// 704), as long as the ped or else his vehicle says; when that task ends the world stands him beside
// the vehicle.

#include "pools/host_tasks.h"
#include "script/script_commands.h"
#include "world/host_clock.h"
#include "world/world.h"

namespace sandbox {

namespace {

const RegisterScriptCommand leaveVehicle(0x0633, 1, [](const ScriptContext& c) {
    Ped* ped = c.world.Peds().FromHandle(c.Int(0));
    if (ped == nullptr || !ped->m_bInVehicle || ped->m_pVehicle == nullptr) return false;
    // An exit already under way is not started over.
    if (ped->HasTask(kTaskLeaveVehicle)) return true;
    const std::uint32_t takes = ped->leaveVehicleMs != 0
                                    ? ped->leaveVehicleMs
                                    : static_cast<const Vehicle*>(ped->m_pVehicle)->leaveMs;
    ped->AddTask(kTaskLeaveVehicle, EndAfter(c.world.Now(), takes));
    return true;
});

}  // namespace

}  // namespace sandbox
