#pragma once

#include <utility>

#include "geometry/vec3.h"

namespace sandbox {

struct Scenario;

/// The area a scenario uses: everything it places or sends somewhere, with 60 m of room around it
/// (x and y; z as given). The pedestrian node grid covers it.
std::pair<Vec3, Vec3> ScenarioArea(const Scenario& scenario);

}  // namespace sandbox
