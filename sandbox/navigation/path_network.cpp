#include "navigation/path_network.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

#include "world/geometry.h"

namespace sandbox {

namespace {
// Nodes lie on the ground; the link test runs a little above it so that the ground plane itself
// never counts as an obstacle.
constexpr float kLinkHeight = 0.5f;
}  // namespace

PathNetwork PathNetwork::Grid(float spacing, Vec3 min, Vec3 max, const Geometry& geometry) {
    PathNetwork nodes;
    const auto first = [spacing](float v) { return std::floor(v / spacing) * spacing; };
    for (float x = first(min.x); x <= max.x; x += spacing) {
        for (float y = first(min.y); y <= max.y; y += spacing) {
            const Vec3 p{x, y, geometry.groundZ};
            if (!geometry.InsideBox(p + Vec3{0.0f, 0.0f, kLinkHeight})) nodes.nodes_.push_back(p);
        }
    }
    // Neighbours along the grid and its diagonals.
    nodes.Link(geometry, spacing * 1.5f);
    return nodes;
}

PathNetwork PathNetwork::Points(std::vector<Vec3> points, const Geometry& geometry) {
    PathNetwork nodes;
    nodes.nodes_ = std::move(points);
    nodes.Link(geometry, kLinkRange);
    return nodes;
}

void PathNetwork::Link(const Geometry& geometry, float range) {
    geometry_ = &geometry;
    links_.assign(nodes_.size(), {});
    const Vec3 lift{0.0f, 0.0f, kLinkHeight};
    for (std::size_t a = 0; a < nodes_.size(); ++a) {
        for (std::size_t b = a + 1; b < nodes_.size(); ++b) {
            if (Length(nodes_[b] - nodes_[a]) > range) continue;
            if (!geometry.SegmentClear(nodes_[a] + lift, nodes_[b] + lift)) continue;
            links_[a].push_back(static_cast<int>(b));
            links_[b].push_back(static_cast<int>(a));
        }
    }
}

int PathNetwork::ClosestIndex(Vec3 p) const {
    int best = -1;
    float bestDist = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const float d = Length(nodes_[i] - p);
        if (d < bestDist) {
            bestDist = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

int PathNetwork::ClosestReachableIndex(Vec3 p) const {
    const Vec3 lift{0.0f, 0.0f, kLinkHeight};
    int best = -1;
    float bestDist = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const float d = Length(nodes_[i] - p);
        if (d < bestDist && geometry_->SegmentClear(p + lift, nodes_[i] + lift)) {
            bestDist = d;
            best = static_cast<int>(i);
        }
    }
    return best >= 0 ? best : ClosestIndex(p);
}

std::optional<Vec3> PathNetwork::Closest(Vec3 p) const {
    const int i = ClosestIndex(p);
    if (i < 0) return std::nullopt;
    return nodes_[static_cast<std::size_t>(i)];
}

std::vector<Vec3> PathNetwork::Route(Vec3 from, Vec3 to) const {
    // A walk never starts or ends through a wall: each end joins the network where it can see it.
    const int start = ClosestReachableIndex(from);
    const int goal = ClosestReachableIndex(to);
    if (start < 0 || start == goal) return {to};
    // Dijkstra: the graph is small (a few thousand nodes at most).
    std::vector<float> dist(nodes_.size(), std::numeric_limits<float>::max());
    std::vector<int> previous(nodes_.size(), -1);
    using Item = std::pair<float, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    dist[static_cast<std::size_t>(start)] = 0.0f;
    open.push({0.0f, start});
    while (!open.empty()) {
        const auto [d, i] = open.top();
        open.pop();
        if (i == goal) break;
        if (d > dist[static_cast<std::size_t>(i)]) continue;
        for (int j : links_[static_cast<std::size_t>(i)]) {
            const float nd =
                d + Length(nodes_[static_cast<std::size_t>(j)] - nodes_[static_cast<std::size_t>(i)]);
            if (nd < dist[static_cast<std::size_t>(j)]) {
                dist[static_cast<std::size_t>(j)] = nd;
                previous[static_cast<std::size_t>(j)] = i;
                open.push({nd, j});
            }
        }
    }
    if (previous[static_cast<std::size_t>(goal)] < 0) return {to};
    std::vector<Vec3> route{to};
    for (int i = goal; i >= 0; i = previous[static_cast<std::size_t>(i)])
        route.push_back(nodes_[static_cast<std::size_t>(i)]);
    std::reverse(route.begin(), route.end());
    return route;
}

}  // namespace sandbox
