#pragma once

#include <span>

#include "geometry/vec3.h"

namespace sandbox {

class World;
struct Vehicle;

/// A car the evading player may take: no police car or helicopter, nobody at the wheel.
bool IsFreeCar(const Vehicle& v);

/// The nearest free car within 60 m of `me` (about 8 s of running, the farthest he would trust to
/// reach first) that he is nearer to than every cop he knows of; -1 for none.
int CarToTake(World& world, Vec3 me, std::span<const Vec3> cops);

}  // namespace sandbox
