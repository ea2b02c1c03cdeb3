#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry/vec3.h"
#include "navigation/flat_links.h"
#include "navigation/node_grid.h"
#include "navigation/route_search.h"

namespace sandbox {

class Geometry;

/// The host's pedestrian path network: nodes linked where the way between them is free.
class PathNetwork {
public:
    /// Links nodes closer than this (and free of boxes) to each other.
    static constexpr float kLinkRange = 25.0f;
    /// The most nodes a grid may hold (a square of 5 km at 10 m spacing): beyond it, building the
    /// network and searching routes would stall the run.
    static constexpr double kMaxGridNodes = 250000.0;

    PathNetwork() = default;
    /// A grid every `spacing` metres over the area [min, max], without nodes inside boxes. Throws
    /// std::length_error with GridProblem's reason when there is one.
    static PathNetwork Grid(float spacing, Vec3 min, Vec3 max, const Geometry& geometry);
    /// The given points; z of each is taken as given. Every coordinate must be finite.
    static PathNetwork Points(std::vector<Vec3> points, const Geometry& geometry);
    /// Why such a grid cannot be built (more nodes than kMaxGridNodes, or coordinates too large to
    /// step by `spacing` in floats), or empty when it can.
    static std::string GridProblem(float spacing, Vec3 min, Vec3 max);

    bool Empty() const { return nodes_.empty(); }
    const std::vector<Vec3>& Nodes() const { return nodes_; }
    /// Each node's linked nodes, in ascending order.
    const std::vector<std::vector<int>>& Links() const;

    /// The node closest to the point (3D), if there is any; none for a point that is not finite or so
    /// far away (beyond about 1.8e19 m) that its float distance overflows.
    std::optional<Vec3> Closest(Vec3 p) const;
    /// The node a walk from `p` joins the network at: the nearest one it can reach in a straight line
    /// (the nearest of all when it reaches none); -1 without nodes.
    int JoinAt(Vec3 p) const { return ClosestReachableIndex(p); }
    /// Waypoints from `from` to `to`: along the shortest chain of linked nodes between the nearest
    /// nodes each end can reach in a straight line, then straight to `to`. Just `to` when there is
    /// no such chain, or either end has no closest node.
    std::vector<Vec3> Route(Vec3 from, Vec3 to) const;

private:
    void Link(const Geometry& geometry, float range);
    /// Rebuilds the flat copy of the links and the parts of the network.
    void Flatten();
    /// Finds the parts of the network from the flat links.
    void FindParts();
    int ClosestIndex(Vec3 p) const;
    int ClosestReachableIndex(Vec3 p) const;

    const Geometry* geometry_ = nullptr;  ///< the world the nodes lie in; it outlives them
    std::vector<Vec3> nodes_;
    /// The links as lists per node; a grid builds only the flat copy below and these on first ask.
    mutable std::vector<std::vector<int>> links_;
    /// The links again, flat for the route search.
    FlatLinks flat_;
    /// Per node, the lowest node it is linked to through any chain: two nodes with different values
    /// have no route between them.
    std::vector<int> part_;
    NodeGrid grid_;

    /// The route search and its scratch, kept between searches. A network is searched from one
    /// thread at a time (each world has its own).
    mutable RouteSearch search_;
};

}  // namespace sandbox
