// Host world queries.

#include "host/world.h"
#include "world/world.h"

namespace {
sandbox::Vec3 ToVec3(const CVector& v) { return {v.x, v.y, v.z}; }
}  // namespace

bool CWorld::GetIsLineOfSightClear(const CVector& a, const CVector& b, bool buildings, bool vehicles, bool,
                                   bool, bool, bool, bool) {
    sandbox::World& world = sandbox::World::Active();
    const sandbox::Vec3 from = ToVec3(a);
    const sandbox::Vec3 to = ToVec3(b);
    if (buildings && !world.World3D().SegmentClear(from, to)) return false;
    if (vehicles) {
        auto& pool = world.Vehicles();
        for (int i = 0; i < pool.Size(); ++i) {
            const sandbox::Vehicle* v = pool.At(i);
            if (v == nullptr) continue;
            const sandbox::Vec3 c = v->Position();
            const sandbox::Vec3 e = v->HalfExtents();
            // A car's box ignores its heading: a square as wide as the car is long.
            const float r = std::max(e.x, e.y);
            if (sandbox::SegmentHitsBox(from, to, {c.x - r, c.y - r, c.z}, {c.x + r, c.y + r, c.z + 2.0f * e.z})) {
                return false;
            }
        }
    }
    return true;
}

float CWorld::FindGroundZForCoord(float x, float y) { return sandbox::World::Active().World3D().GroundZ(x, y); }
