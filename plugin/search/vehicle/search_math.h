#pragma once

#include <cmath>
#include <cstdlib>

#include "host/vector.h"

/// Distance between two points in x and y only: cars and helicopters search on the map, not in height.
inline float HorizontalDistance(const CVector& a, const CVector& b) { return std::hypot(a.x - b.x, a.y - b.y); }

/// One draw of the C runtime's generator scaled to 0..1 in steps of 1/999.
inline float DrawUnit() { return static_cast<float>(std::rand() % 1000) / 999.0f; }

/// Ground heights at or below this mean the host found no ground there.
constexpr float kNoGroundZ = -50.0f;
