#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "geometry/vec3.h"

namespace sandbox {

class Geometry;

/// Where a running player could go: a node of the path network between `nearest` and `farthest`
/// metres from him that he has a way to, from which the cops he knows of are farther than he is now.
/// Cornered, any node he has a way to will do, the farthest from the cops first.
struct SpotSearch {
    Vec3 from;
    float nearest = 0.0f;
    float farthest = 0.0f;
    float sight = 0.0f;  ///< m: a cop farther than this is taken not to see the spot
    bool cornered = false;

    /// Whether the node lies between `nearest` and `farthest` metres from him.
    bool InReach(Vec3 node) const {
        const float d = Length2D(node - from);
        return d >= nearest && d <= farthest;
    }
};

/// The distance (2D) from `p` to the nearest of the cops; the float maximum with none.
float NearestCopDistance(Vec3 p, std::span<const Vec3> cops);

/// The candidates' node indices, best first: spots hidden from every known cop (a building in the way
/// or out of sight) before open ones, then by the distance to the nearest cop, farther first. At most
/// `keep`; only nodes `reachable` lets through.
std::vector<int> RankSpots(const SpotSearch& search, std::span<const Vec3> nodes, std::span<const Vec3> cops,
                           const Geometry& geometry, std::size_t keep,
                           const std::function<bool(int)>& reachable);

/// Whether a cop standing at `cop` sees a ped at `spot` in the open: near enough and no box between.
bool InViewOf(Vec3 cop, Vec3 spot, float sight, const Geometry& geometry);

/// Whether a way through `spot` brings him nearer to a cop he knows of than he stands at `from`, and
/// there within `caution` of that cop or in his view.
bool Exposed(Vec3 spot, Vec3 from, std::span<const Vec3> cops, float caution, float sight,
             const Geometry& geometry);

/// Whether a goal at `spot` is no longer one for a player at `from`: a cop he knows of stands nearer
/// to it than he does, or sees it.
bool GoalSpoilt(Vec3 spot, Vec3 from, std::span<const Vec3> cops, float sight, const Geometry& geometry);
/// The middles, on the ground, of the roofs a ped can stand under (an underpass, an arcade): boxes
/// whose bottom is well above the ground.
std::vector<Vec3> Covers(const Geometry& geometry);
/// Whether such a roof is over `spot`.
bool UnderCover(Vec3 spot, const Geometry& geometry);

}  // namespace sandbox
