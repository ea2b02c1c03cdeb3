// Host script commands for vehicles.

#include <cmath>

#include "script/script_commands.h"
#include "world/vehicle_motion.h"
#include "world/world.h"

namespace sandbox {

namespace {

// 0x05D1: driver, vehicle, x, y, z, cruise speed, 0, 0, 2: the driver takes the car to the point
// on a go-to mission, along the streets where the path network knows them.
const RegisterScriptCommand driveTo(0x05D1, 9, [](const ScriptContext& c) {
    Ped* driver = c.world.Peds().FromHandle(c.Int(0));
    Vehicle* car = c.world.Vehicles().FromHandle(c.Int(1));
    if (driver == nullptr || car == nullptr || car->m_pDriver != driver) return false;
    SetDriveTarget(c.world, *car, {c.Float(2), c.Float(3), c.Float(4)});
    car->m_autoPilot.m_nCarMission = MISSION_GOTOCOORDS;
    car->m_autoPilot.m_nTempAction = 0;
    // A speed that is not a number stops the car rather than reaching the conversion.
    const float cruise = c.Float(5);
    car->m_autoPilot.m_nCruiseSpeed =
        std::isnan(cruise) ? 0 : static_cast<unsigned char>(std::clamp(cruise, 0.0f, 255.0f));
    car->m_autoPilot.m_nCarDrivingStyle = static_cast<signed char>(c.Int(8));
    return true;
});

}  // namespace

}  // namespace sandbox
