#pragma once

#include "geometry/vec3.h"

namespace sandbox {

/// Axis-aligned bounds of one solid box, as the box indexes see it.
struct Bounds {
    Vec3 min;
    Vec3 max;
};

/// True when the two bounds share a point (edges included).
inline bool Touch(const Bounds& a, const Bounds& b) {
    return a.min.x <= b.max.x && a.max.x >= b.min.x && a.min.y <= b.max.y && a.max.y >= b.min.y &&
           a.min.z <= b.max.z && a.max.z >= b.min.z;
}

}  // namespace sandbox
