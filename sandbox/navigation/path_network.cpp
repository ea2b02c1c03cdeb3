#include "navigation/path_network.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <stdexcept>

#include "geometry/geometry.h"
#include "navigation/grid_box_cells.h"
#include "navigation/lattice_links.h"

namespace sandbox {

namespace {
// Nodes lie on the ground; the link test runs a little above it so that the ground plane itself
// never counts as an obstacle.
constexpr float kLinkHeight = 0.5f;
// A grid is refused where float steps of this fraction of the spacing are lost, so that stepping
// across the area still lands near where every node is meant to be.
constexpr float kSpacingPrecision = 16.0f;

float FirstLine(float v, float spacing) { return std::floor(v / spacing) * spacing; }

// How many lines of the grid [lo, hi] holds, every `spacing` from the line at or below lo.
double Lines(float lo, float hi, float spacing) {
    const double span = static_cast<double>(hi) - FirstLine(lo, spacing);
    return span < 0.0 ? 0.0 : std::floor(span / spacing) + 1.0;
}

// The lines of the grid over [lo, hi], stepped in floats exactly as the nodes are placed.
std::vector<float> GridLines(float lo, float hi, float spacing) {
    std::vector<float> lines;
    for (float v = FirstLine(lo, spacing); v <= hi; v += spacing) lines.push_back(v);
    return lines;
}

bool StepsHold(float v, float spacing) {
    const float m = std::abs(v);
    return std::nextafter(m, std::numeric_limits<float>::infinity()) - m <= spacing / kSpacingPrecision;
}
}  // namespace

std::string PathNetwork::GridProblem(float spacing, Vec3 min, Vec3 max) {
    char text[320];
    const double count = Lines(min.x, max.x, spacing) * Lines(min.y, max.y, spacing);
    if (!(count <= kMaxGridNodes)) {
        std::snprintf(
            text, sizeof text,
            "a grid every %g m over x %g to %g, y %g to %g would hold %.3g path nodes, more than the "
            "limit of %.0f; use a larger spacing, a list of points, or keep the scenario in a "
            "smaller area",
            static_cast<double>(spacing), static_cast<double>(min.x), static_cast<double>(max.x),
            static_cast<double>(min.y), static_cast<double>(max.y), count, kMaxGridNodes);
        return text;
    }
    for (const float v : {min.x, max.x, min.y, max.y}) {
        if (!StepsHold(v, spacing)) {
            std::snprintf(
                text, sizeof text,
                "coordinates as large as %g cannot be stepped every %g m in single precision; use a "
                "larger spacing or keep the scenario nearer the origin",
                static_cast<double>(v), static_cast<double>(spacing));
            return text;
        }
    }
    return {};
}

PathNetwork PathNetwork::Grid(float spacing, Vec3 min, Vec3 max, const Geometry& geometry) {
    if (std::string problem = GridProblem(spacing, min, max); !problem.empty())
        throw std::length_error(problem);
    const std::vector<float> xs = GridLines(min.x, max.x, spacing);
    const std::vector<float> ys = GridLines(min.y, max.y, spacing);
    // Neighbours along the grid and its diagonals.
    const float range = spacing * 1.5f;
    // A link's exact test can only be decided by a box within far less than this of its bounds: a
    // few float steps of its length, and the length of any link is at most the range.
    GridBoxCells near(xs, ys, geometry.groundZ + kLinkHeight, 2e-4 * range + 1e-5, geometry.Boxes(),
                      LatticeReach(xs, ys, range));
    PathNetwork nodes;
    // Each grid point's node, or -1 where a box stands on it; column by column as the nodes are listed.
    std::vector<int> at(xs.size() * ys.size(), -1);
    nodes.nodes_.reserve(at.size());
    for (std::size_t i = 0; i < xs.size(); ++i) {
        for (std::size_t j = 0; j < ys.size(); ++j) {
            const Vec3 p{xs[i], ys[j], geometry.groundZ};
            if (near.InsideBox(p + Vec3{0.0f, 0.0f, kLinkHeight}, i, j)) continue;
            at[i * ys.size() + j] = static_cast<int>(nodes.nodes_.size());
            nodes.nodes_.push_back(p);
        }
    }
    nodes.geometry_ = &geometry;
    nodes.grid_ = NodeGrid(nodes.nodes_, range);
    nodes.flat_ = LinkLattice({xs, ys, at, nodes.nodes_}, range, {0.0f, 0.0f, kLinkHeight}, near);
    nodes.FindParts();
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
    grid_ = NodeGrid(nodes_, range);
    links_.assign(nodes_.size(), {});
    const Vec3 lift{0.0f, 0.0f, kLinkHeight};
    for (std::size_t a = 0; a < nodes_.size(); ++a) {
        grid_.ForEachNeighbourCandidate(nodes_, static_cast<int>(a), [&](int b) {
            if (static_cast<std::size_t>(b) <= a) return;
            // Within range, and the way between them (lifted off the ground, from a's end) free.
            const Vec3 from = nodes_[a];
            const Vec3 to = nodes_[static_cast<std::size_t>(b)];
            if (!(Length(to - from) <= range) || !geometry.SegmentClear(from + lift, to + lift)) return;
            links_[a].push_back(b);
            links_[static_cast<std::size_t>(b)].push_back(static_cast<int>(a));
        });
    }
    for (std::vector<int>& linked : links_) std::sort(linked.begin(), linked.end());
    Flatten();
}

void PathNetwork::Flatten() {
    std::size_t count = 0;
    for (const std::vector<int>& linked : links_) count += linked.size();
    flat_.start.assign(1, 0);
    flat_.start.reserve(links_.size() + 1);
    flat_.to.clear();
    flat_.to.reserve(count);
    flat_.length.clear();
    flat_.length.reserve(count);
    for (std::size_t i = 0; i < links_.size(); ++i) {
        for (const int j : links_[i]) {
            flat_.to.push_back(j);
            flat_.length.push_back(Length(nodes_[static_cast<std::size_t>(j)] - nodes_[i]));
        }
        flat_.start.push_back(static_cast<std::uint32_t>(flat_.to.size()));
    }
    FindParts();
}

const std::vector<std::vector<int>>& PathNetwork::Links() const {
    if (links_.size() != nodes_.size()) {
        links_.assign(nodes_.size(), {});
        for (std::size_t i = 0; i < nodes_.size(); ++i)
            links_[i].assign(flat_.to.begin() + flat_.start[i], flat_.to.begin() + flat_.start[i + 1]);
    }
    return links_;
}

void PathNetwork::FindParts() {
    // A route search between two parts would settle the whole of the first before giving up.
    part_.assign(nodes_.size(), -1);
    // The nodes reached and not yet looked from; each enters once, when it is given its part.
    const auto reached = std::make_unique_for_overwrite<int[]>(nodes_.size());
    const std::uint32_t* const start = flat_.start.data();
    const int* const to = flat_.to.data();
    int* const part = part_.data();
    for (std::size_t first = 0; first < nodes_.size(); ++first) {
        if (part[first] >= 0) continue;
        const auto label = static_cast<int>(first);
        part[first] = label;
        std::size_t count = 0;
        reached[count++] = label;
        while (count > 0) {
            const auto at = static_cast<std::size_t>(reached[--count]);
            for (std::uint32_t k = start[at]; k < start[at + 1]; ++k) {
                if (part[to[k]] >= 0) continue;
                part[to[k]] = label;
                reached[count++] = to[k];
            }
        }
    }
}

int PathNetwork::ClosestIndex(Vec3 p) const {
    return grid_.Nearest(nodes_, p, [](int) { return true; });
}

int PathNetwork::ClosestReachableIndex(Vec3 p) const {
    if (nodes_.empty()) return -1;
    const Vec3 lift{0.0f, 0.0f, kLinkHeight};
    // From within a box every node is hidden; asking each one would test that box thousands of times.
    if (geometry_->InOrOnBox(p + lift)) return ClosestIndex(p);
    // From a roof nearly every node is hidden, and mostly by the roof's own box.
    std::uint32_t blocker = static_cast<std::uint32_t>(-1);
    const int best = grid_.Nearest(nodes_, p, [&](int i) {
        return geometry_->SegmentClear(p + lift, nodes_[static_cast<std::size_t>(i)] + lift, blocker);
    });
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
    if (start < 0 || goal < 0 || start == goal) return {to};
    if (part_[static_cast<std::size_t>(start)] != part_[static_cast<std::size_t>(goal)]) return {to};
    if (!search_.Run(flat_, start, goal)) return {to};
    std::vector<Vec3> route{to};
    for (int i = goal; i >= 0; i = search_.Previous(i)) route.push_back(nodes_[static_cast<std::size_t>(i)]);
    std::reverse(route.begin(), route.end());
    return route;
}

}  // namespace sandbox
