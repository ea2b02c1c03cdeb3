#include "world/vehicle_motion.h"

#include <algorithm>
#include <cmath>

#include "world/world.h"

namespace sandbox {

namespace {

void FlyHeli(World& world, Vehicle& heli, float dt) {
    const auto [stepped, reached] = StepTowards(heli.Position(), heli.target, kHeliSpeed * dt);
    const float heading = HeadingAlong(heli.target - heli.Position());
    if (!reached && !std::isnan(heading)) heli.m_fHeading = heading;
    Vec3 p = stepped;
    float wantZ = world.Geometry().FloorZ(p.x, p.y) + heli.flyHeight;
    if (std::isnan(wantZ)) wantZ = p.z;  // ordered to a height that is not a number: it holds its own
    const float climb = kHeliClimbSpeed * dt;
    p.z = std::abs(wantZ - p.z) <= climb ? wantZ : p.z + (wantZ > p.z ? climb : -climb);
    heli.SetPosition(p);
}

void DriveCar(World& world, Vehicle& car, float dt) {
    if (car.route.empty()) return;
    const Vec3 p = car.Position();
    const Vec3 next = car.route.front();
    const float toGoal = Length2D(car.target - p);
    float speed = static_cast<float>(car.m_autoPilot.m_nCruiseSpeed) * kCruiseUnitMetresPerSecond;
    if (toGoal < kSlowDownDist) speed *= std::max(0.15f, toGoal / kSlowDownDist);
    const auto [moved, reached] = StepTowards(p, next, speed * dt);
    const Vec3 lift{0.0f, 0.0f, 0.8f};
    if (!world.Geometry().SegmentClear(p + lift, moved + lift)) return;  // against a wall: it stands
    if (Length2D(next - p) > 0.001f) car.m_fHeading = HeadingAlong(next - p);
    if (reached) car.route.erase(car.route.begin());
    if (Length2D(car.target - moved) < kStopDist) car.route.clear();
    car.SetPosition(moved);
}

}  // namespace

void SetDriveTarget(const World& world, Vehicle& car, Vec3 target) {
    car.target = target;
    car.route = world.PathNetwork().Route(car.Position(), target);
    car.hasTarget = true;
}

void UpdateVehicles(World& world, float dt) {
    auto& vehicles = world.Vehicles();
    for (int i = 0; i < vehicles.Size(); ++i) {
        Vehicle* v = vehicles.At(i);
        if (v == nullptr) continue;
        const Vec3 before = v->Position();
        if (v->IsHeli()) {
            if (v->hasTarget) FlyHeli(world, *v, dt);
        } else if (v->hasTarget && v->m_autoPilot.m_nCarMission != MISSION_NONE &&
                   v->m_autoPilot.m_nCruiseSpeed > 0 && v->m_pDriver != nullptr) {
            DriveCar(world, *v, dt);
        }
        const Vec3 delta = v->Position() - before;
        v->m_vecMoveSpeed = dt > 0.0f ? CVector{delta.x / dt, delta.y / dt, delta.z / dt} : CVector{};
    }
}

}  // namespace sandbox
