// Host world queries.

#include <chrono>

#include "host/world.h"
#include "world/host_world.h"
#include "world/world.h"

namespace {

sandbox::Vec3 ToVec3(const CVector& v) { return {v.x, v.y, v.z}; }

bool VehicleInTheWay(sandbox::World& world, sandbox::Vec3 from, sandbox::Vec3 to) {
    auto& pool = world.Vehicles();
    for (int i = 0; i < pool.Size(); ++i) {
        const sandbox::Vehicle* v = pool.At(i);
        if (v != nullptr &&
            sandbox::SegmentHitsTurnedBox(from, to, v->Position(), v->HalfExtents(), v->m_fHeading)) {
            return true;
        }
    }
    return false;
}

bool LineClear(sandbox::World& world, sandbox::Vec3 from, sandbox::Vec3 to, bool buildings, bool vehicles) {
    if (buildings && !world.Geometry().SegmentClear(from, to)) return false;
    return !(vehicles && VehicleInTheWay(world, from, to));
}

}  // namespace

// Peds, objects and dummies are not modelled: only buildings (the boxes) and vehicles can block.
bool CWorld::GetIsLineOfSightClear(const CVector& a, const CVector& b, bool buildings, bool vehicles, bool,
                                   bool, bool, bool, bool) {
    sandbox::World& world = sandbox::HostWorld();
    sandbox::SightQueries& log = world.SightQueries();
    const sandbox::Vec3 from = ToVec3(a);
    const sandbox::Vec3 to = ToVec3(b);
    ++log.calls;
    bool clear = false;
    if (log.timed) {
        const auto start = std::chrono::steady_clock::now();
        clear = LineClear(world, from, to, buildings, vehicles);
        log.nanoseconds += static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start)
                .count());
    } else {
        clear = LineClear(world, from, to, buildings, vehicles);
    }
    if (log.kept) log.recent.push_back({from, to, clear, vehicles});
    return clear;
}

float CWorld::FindGroundZForCoord(float x, float y) { return sandbox::HostWorld().Geometry().GroundZ(x, y); }
