#pragma once

#include "host/vector.h"

/// Squared distance in 3D, in m²: the awareness ranges are compared without a root.
inline float DistanceSq(const CVector& a, const CVector& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}
