// Script command 0x0633: the ped gets out of his vehicle. Getting out takes the host a while (task
// 704); when that task ends the world stands him beside the vehicle.

#include "pools/host_tasks.h"
#include "script/script_commands.h"
#include "world/host_clock.h"
#include "world/world.h"

namespace sandbox {

namespace {

constexpr std::uint32_t kLeaveVehicleMs = 1000;

const RegisterScriptCommand leaveVehicle(0x0633, 1, [](const ScriptContext& c) {
    Ped* ped = c.world.Peds().FromHandle(c.Int(0));
    if (ped == nullptr || !ped->m_bInVehicle) return false;
    // An exit already under way is not started over.
    if (!ped->HasTask(kTaskLeaveVehicle))
        ped->AddTask(kTaskLeaveVehicle, EndAfter(c.world.Now(), kLeaveVehicleMs));
    return true;
});

}  // namespace

}  // namespace sandbox
