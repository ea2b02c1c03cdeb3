#pragma once

#include <nlohmann/json.hpp>
#include <numbers>

#include "geometry/vec3.h"

namespace sandbox {

/// A point as the replay writes it: [x, y, z].
inline nlohmann::json Point(Vec3 p) { return {p.x, p.y, p.z}; }

/// A host heading (radians) as the replay writes it: degrees.
inline double Degrees(float radians) { return static_cast<double>(radians) * 180.0 / std::numbers::pi; }

}  // namespace sandbox
