#include <gtest/gtest.h>

#include "geometry/geometry.h"
#include "navigation/path_network.h"

namespace {

using sandbox::Geometry;
using sandbox::PathNetwork;
using sandbox::Vec3;

Geometry WallAcrossX() {
    Geometry g;
    g.AddBox({"wall", {-2, -30, 0}, {2, 30, 10}});
    return g;
}

TEST(PathNetworkTest, GridLeavesOutNodesInsideBoxesAndLinksOnlyFreeNeighbours) {
    const Geometry g = WallAcrossX();
    const PathNetwork nodes = PathNetwork::Grid(10, {-50, -50, 0}, {50, 50, 0}, g);
    for (std::size_t i = 0; i < nodes.Nodes().size(); ++i) {
        const Vec3 n = nodes.Nodes()[i];
        EXPECT_FALSE(g.InsideBox(n + Vec3{0, 0, 0.5f}));
        for (int j : nodes.Links()[i]) {
            EXPECT_TRUE(g.SegmentClear(n + Vec3{0, 0, 0.5f},
                                       nodes.Nodes()[static_cast<std::size_t>(j)] + Vec3{0, 0, 0.5f}));
        }
    }
}

TEST(PathNetworkTest, RouteGoesAroundTheWallAndEndsAtTheGoal) {
    const Geometry g = WallAcrossX();
    const PathNetwork nodes = PathNetwork::Grid(10, {-50, -50, 0}, {50, 50, 0}, g);
    const Vec3 to{20, 0, 0};
    const auto route = nodes.Route({-20, 0, 0}, to);
    ASSERT_GE(route.size(), 3u);
    EXPECT_EQ(route.back(), to);
    Vec3 at{-20, 0, 0};
    for (const Vec3& p : route) {
        EXPECT_TRUE(g.SegmentClear(at + Vec3{0, 0, 0.5f}, p + Vec3{0, 0, 0.5f}) || &p == &route.front() ||
                    &p == &route.back());
        at = p;
    }
    const bool detour = std::any_of(route.begin(), route.end(), [](Vec3 p) { return std::abs(p.y) >= 30; });
    EXPECT_TRUE(detour);
}

TEST(PathNetworkTest, EachEndJoinsTheNetworkOnItsOwnSideOfAWall) {
    // The node nearest to each end lies behind the wall; the route must use one it can walk to.
    const Geometry g = WallAcrossX();
    const PathNetwork nodes = PathNetwork::Points(
        {{4, 0, 0}, {-12, 0, 0}, {-12, 20, 0}, {-12, 40, 0}, {12, 40, 0}, {12, 20, 0}, {12, 0, 0}}, g);
    const Vec3 from{-3, 0, 0};
    const Vec3 to{3, 1, 0};
    const auto route = nodes.Route(from, to);
    ASSERT_GE(route.size(), 2u);
    EXPECT_EQ(route.front(), (Vec3{-12, 0, 0}));
    EXPECT_EQ(route[route.size() - 2], (Vec3{4, 0, 0}));
}

TEST(PathNetworkTest, NoNodesMeansNoClosestAndAStraightRoute) {
    const PathNetwork none;
    EXPECT_FALSE(none.Closest({1, 2, 3}).has_value());
    const auto route = none.Route({0, 0, 0}, {5, 5, 0});
    ASSERT_EQ(route.size(), 1u);
    EXPECT_EQ(route[0], (Vec3{5, 5, 0}));
}

TEST(PathNetworkTest, ExplicitPointsLinkWithinRange) {
    const Geometry open;
    const PathNetwork nodes = PathNetwork::Points({{0, 0, 0}, {20, 0, 0}, {80, 0, 0}}, open);
    EXPECT_EQ(nodes.Links()[0].size(), 1u);
    EXPECT_TRUE(nodes.Links()[2].empty());
    EXPECT_EQ(*nodes.Closest({70, 3, 0}), (Vec3{80, 0, 0}));
}

}  // namespace
