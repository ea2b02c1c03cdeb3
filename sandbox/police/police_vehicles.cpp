#include "police/police_vehicles.h"

#include <algorithm>

#include "host/constants.h"

#include "police/pursuit_rule.h"
#include "world/vehicle_motion.h"
#include "world/world.h"

namespace sandbox {

namespace {

// The numbers are documented in docs/host-model.md, "Vehicles".
constexpr int kChaseMission = 4;               // the one the host itself hands out
constexpr int kChaseCruise = 30;               // host speed units: 12 m/s
constexpr float kRetakeRange = 100.0f;         // m, 2D from the player
constexpr std::uint32_t kRetakeMeanMs = 8000;  // mean time until the host takes one such car back
constexpr float kReplanDist = 5.0f;            // m the player moves before a chasing car plans a new route
constexpr float kHeliChaseHeight = 25.0f;      // m above the ground

bool Pursues(const CPed* ped) {
    return ped != nullptr && ped->m_nPedType == PED_TYPE_COP && ped->m_fHealth > 0.0f &&
           ped->m_nPursuitSuppressed == 0;
}

void PutOnChase(Vehicle& car) {
    car.m_autoPilot.m_nCarMission = kChaseMission;
    car.m_autoPilot.m_nTempAction = 0;
    car.m_autoPilot.m_nCruiseSpeed = kChaseCruise;
}

void FollowByRoad(World& world, Vehicle& car, Vec3 player) {
    if (car.hasTarget && Length2D(car.target - player) <= kReplanDist) return;
    SetDriveTarget(world, car, player);
}

void StandDown(Vehicle& v) {
    if (!OnHostChase(v)) return;
    v.m_autoPilot.m_nCarMission = MISSION_NONE;
    v.hasTarget = false;
    v.route.clear();
}

// A car on a chase mission is driven after the player only while its driver pursues: a driver the
// plugin holds out of the pursuit keeps to the way he was on.
void RunCar(World& world, Vehicle& car, std::uint32_t dtMs, const Ped& player) {
    const Vec3 at = player.Position();
    if (!OnHostChase(car)) {
        const bool retake = car.m_bIsLawEnforcer && Length2D(car.Position() - at) <= kRetakeRange &&
                            world.Random()() % kRetakeMeanMs < dtMs;
        if (Pursues(car.m_pDriver) || retake) PutOnChase(car);
    }
    const auto* driver = static_cast<const Ped*>(car.m_pDriver);
    if (driver != nullptr && PursuesPlayer(*driver, player)) FollowByRoad(world, car, at);
}

void RunHeli(World& world, Vehicle& heli, Vec3 player) {
    if (!Pursues(heli.m_pDriver)) return;  // a pilot held out of the pursuit follows someone else's orders
    heli.m_autoPilot.m_nCarMission = MISSION_HELI_CHASE;
    const float ground = world.Geometry().FloorZ(player.x, player.y);
    heli.target = {player.x, player.y, ground + kHeliChaseHeight};
    heli.flyHeight = kHeliChaseHeight;
    heli.hasTarget = true;
}

}  // namespace

void RunHostPoliceVehicles(World& world, std::uint32_t dtMs, bool wanted) {
    for (int i = 0; i < world.Vehicles().Size(); ++i) {
        Vehicle* v = world.Vehicles().At(i);
        if (v == nullptr) continue;
        if (!wanted) {
            StandDown(*v);
        } else if (v->IsHeli()) {
            RunHeli(world, *v, world.Player()->Position());
        } else {
            RunCar(world, *v, dtMs, *world.Player());
        }
    }
}

}  // namespace sandbox
