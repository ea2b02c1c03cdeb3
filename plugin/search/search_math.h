#pragma once

#include <cmath>
#include <cstdlib>

#include "host/vector.h"

/// Distance between two points in x and y only: the searches work on the map, not in height.
inline float Distance2D(const CVector& a, const CVector& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

/// One draw of the C runtime's generator scaled to 0..1 in steps of 1/999.
inline float DrawUnit() { return static_cast<float>(std::rand() % 1000) / 999.0f; }
