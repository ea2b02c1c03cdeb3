#pragma once

#include <optional>
#include <span>
#include <vector>

#include "geometry/vec3.h"

namespace sandbox {

class Geometry;

/// Where a running player could go: a node of the path network between `nearest` and `farthest`
/// metres from him, from which the cops he knows of are farther than he is now.
struct SpotSearch {
    Vec3 from;
    float nearest = 0.0f;
    float farthest = 0.0f;
    float sight = 0.0f;  ///< m: a cop farther than this is taken not to see the spot
};

/// The candidates, best first: spots hidden from every known cop (a building in the way or out of
/// sight) before open ones, then by the distance to the nearest cop, farther first. At most `keep`.
std::vector<Vec3> RankSpots(const SpotSearch& search, std::span<const Vec3> nodes, std::span<const Vec3> cops,
                            const Geometry& geometry, std::size_t keep);

/// Whether a cop standing at `cop` sees a ped at `spot` in the open: near enough and no box between.
bool InViewOf(Vec3 cop, Vec3 spot, float sight, const Geometry& geometry);

}  // namespace sandbox
