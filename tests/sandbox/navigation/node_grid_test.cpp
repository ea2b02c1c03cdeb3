// The node index finds what a scan of every node finds: the same nearest node (ties to the lower
// index), the same links.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

#include "geometry/geometry.h"
#include "navigation/node_grid.h"
#include "navigation/path_network.h"
#include "support/scan_nearest.h"

namespace {

using sandbox::Geometry;
using sandbox::NodeGrid;
using sandbox::PathNetwork;
using sandbox::Vec3;
using testing_support::ScanNearest;

// Lattice nodes (many exact ties) mixed with scattered ones, some far out.
std::vector<Vec3> Nodes(std::mt19937& random, int count) {
    std::uniform_int_distribution<int> lattice(-10, 10);
    std::uniform_real_distribution<float> scatter(-120.0f, 120.0f);
    std::vector<Vec3> nodes;
    for (int i = 0; i < count; ++i) {
        if (i % 3 == 0) {
            nodes.push_back({scatter(random), scatter(random), scatter(random) * 0.05f});
        } else {
            nodes.push_back(
                {static_cast<float>(lattice(random) * 5), static_cast<float>(lattice(random) * 5), 0});
        }
    }
    return nodes;
}

TEST(NodeGridTest, NearestMatchesAScanInsideOutsideAndWithRefusals) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> near(-150.0f, 150.0f);
    std::uniform_int_distribution<int> onLattice(-12, 12);
    for (const int count : {1, 7, 400}) {
        const std::vector<Vec3> nodes = Nodes(random, count);
        for (const float cell : {2.5f, 25.0f}) {
            const NodeGrid grid(nodes, cell);
            for (int n = 0; n < 1500; ++n) {
                Vec3 p{near(random), near(random), 0};
                if (n % 3 == 0) p = {onLattice(random) * 2.5f, onLattice(random) * 2.5f, 0};  // on ties
                if (n % 50 == 0) p.x *= 1e4f;                                                 // far outside
                const int refuse = n % 4;  // every node whose index leaves this remainder is refused
                const auto accept = [&](int i) { return refuse == 0 || i % 4 != refuse; };
                ASSERT_EQ(grid.Nearest(nodes, p, accept), ScanNearest(nodes, p, accept))
                    << count << " nodes, cell " << cell << ", query " << n;
            }
        }
    }
}

TEST(NodeGridTest, NearestAsksOnlyOfNodesThatCouldWinAndNeverForPointsOffTheMap) {
    const std::vector<Vec3> nodes{{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}};
    const NodeGrid grid(nodes, 5.0f);
    std::vector<int> asked;
    EXPECT_EQ(grid.Nearest(nodes, {28, 1, 0},
                           [&](int i) {
                               asked.push_back(i);
                               return i == 1;
                           }),
              1);
    // Node 0 is farther than the accepted node 1, so it is never asked about.
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
    for (const float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e30f}) {
        EXPECT_EQ(grid.Nearest(nodes, {bad, 0, 0}, [](int) { return true; }), -1);
    }
    EXPECT_EQ(NodeGrid().Nearest({}, {0, 0, 0}, [](int) { return true; }), -1);
}

TEST(NodeGridTest, PathNetworkLinksEveryFreePairInRangeAndNoOther) {
    std::mt19937 random(5);
    const std::vector<Vec3> points = Nodes(random, 300);
    Geometry g;
    g.SetBoxes({{"", {-12, -40, 0}, {-8, 40, 5}}, {"", {20, 20, 0}, {60, 25, 5}}});
    const PathNetwork network = PathNetwork::Points(points, g);
    const Vec3 lift{0, 0, 0.5f};
    for (std::size_t a = 0; a < points.size(); ++a) {
        std::vector<int> expected;
        for (std::size_t b = 0; b < points.size(); ++b) {
            if (a == b || Length(points[b] - points[a]) > PathNetwork::kLinkRange) continue;
            const std::size_t lo = std::min(a, b);
            const std::size_t hi = std::max(a, b);
            if (g.SegmentClear(points[lo] + lift, points[hi] + lift)) expected.push_back(static_cast<int>(b));
        }
        ASSERT_EQ(network.Links()[a], expected) << "node " << a;
    }
}

}  // namespace
