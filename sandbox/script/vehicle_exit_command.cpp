// Script command 0x0633: the ped gets out of his vehicle. Getting out takes the host a while (task
// 704), as long as the ped or else his vehicle says; when that task ends the world stands him beside
// the vehicle.

#include "script/script_commands.h"
#include "world/world.h"

namespace sandbox {

namespace {

const RegisterScriptCommand leaveVehicle(0x0633, 1, [](const ScriptContext& c) {
    Ped* ped = c.world.Peds().FromHandle(c.Int(0));
    return ped != nullptr && c.world.StartLeavingVehicle(*ped);
});

}  // namespace

}  // namespace sandbox
