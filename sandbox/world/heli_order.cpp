#include "world/heli_order.h"

#include <algorithm>

#include "world/world.h"

namespace sandbox {

void OrderHeli(World& world, void* self, const CodeImage::MethodArgs& args) {
    Vehicle* heli = nullptr;
    for (int i = 0; i < world.Vehicles().Size() && heli == nullptr; ++i) {
        Vehicle* v = world.Vehicles().At(i);
        if (v != nullptr && static_cast<CVehicle*>(v) == self) heli = v;
    }
    // A stale or foreign pointer would crash the real host; here it is refused and reported.
    if (heli == nullptr) {
        world.ScriptErrors().push_back("helicopter order on an object that is not in the vehicle pool");
        return;
    }
    const auto [x, y, cruise, low, high] = args;
    heli->hasTarget = true;
    heli->target = {x, y, cruise};
    // Kept as a height above the ground, which the flying follows (no ground: the world's base).
    const float ground = world.Geometry().FloorZ(x, y);
    heli->flyHeight = cruise - ground;
    world.Journal().RecordHostCall({world.Now(), CodeImage::kHeliOrder, heli->id, {x, y, cruise, low, high}});
}

}  // namespace sandbox
