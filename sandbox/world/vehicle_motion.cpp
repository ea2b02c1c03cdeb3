#include "world/vehicle_motion.h"

#include <algorithm>
#include <cmath>

#include "world/world.h"

namespace sandbox {

namespace {

void FlyHeli(World& world, Vehicle& heli, float dt) {
    Vec3 p = heli.Position();
    const Vec3 to = heli.target;
    const Vec3 d{to.x - p.x, to.y - p.y, 0.0f};
    const float dist = Length2D(d);
    const float step = kHeliSpeed * dt;
    if (dist <= step) {
        p.x = to.x;
        p.y = to.y;
    } else {
        p = p + d * (step / dist);
        heli.m_fHeading = std::atan2(-d.x, d.y);
    }
    const float ground = std::max(world.World3D().GroundZ(p.x, p.y), world.World3D().groundZ);
    const float wantZ = ground + heli.flyHeight;
    const float climb = kHeliClimbSpeed * dt;
    p.z = std::abs(wantZ - p.z) <= climb ? wantZ : p.z + (wantZ > p.z ? climb : -climb);
    heli.SetPosition(p);
}

void DriveCar(World& world, Vehicle& car, float dt) {
    if (car.route.empty()) return;
    Vec3 p = car.Position();
    const Vec3 next = car.route.front();
    const Vec3 d{next.x - p.x, next.y - p.y, 0.0f};
    const float dist = Length2D(d);
    const float toGoal = Length2D(car.target - p);
    float speed = static_cast<float>(car.m_autoPilot.m_nCruiseSpeed) * kCruiseUnitMetresPerSecond;
    if (toGoal < kSlowDownDist) speed *= std::max(0.15f, toGoal / kSlowDownDist);
    const float step = speed * dt;
    Vec3 moved = dist <= step ? Vec3{next.x, next.y, p.z} : p + d * (step / dist);
    const Vec3 lift{0.0f, 0.0f, 0.8f};
    if (!world.World3D().SegmentClear(p + lift, moved + lift)) return;  // against a wall: it stands
    if (dist > 0.001f) car.m_fHeading = std::atan2(-d.x, d.y);
    if (dist <= step) car.route.erase(car.route.begin());
    if (Length2D(car.target - moved) < kStopDist) car.route.clear();
    car.SetPosition(moved);
}

}  // namespace

void UpdateVehicles(World& world, float dt) {
    auto& vehicles = world.Vehicles();
    for (int i = 0; i < vehicles.Size(); ++i) {
        Vehicle* v = vehicles.At(i);
        if (v == nullptr) continue;
        const Vec3 before = v->Position();
        if (v->IsHeli()) {
            if (v->hasTarget) FlyHeli(world, *v, dt);
        } else if (v->hasTarget && v->m_autoPilot.m_nCarMission != MISSION_NONE && v->m_autoPilot.m_nCruiseSpeed > 0 &&
                   v->m_pDriver != nullptr) {
            DriveCar(world, *v, dt);
        }
        const Vec3 delta = v->Position() - before;
        v->m_vecMoveSpeed = dt > 0.0f ? CVector{delta.x / dt, delta.y / dt, delta.z / dt} : CVector{};
    }
}

}  // namespace sandbox
