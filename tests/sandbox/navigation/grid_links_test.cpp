// A grid's links are exactly those a test of every pair of its nodes finds, in the same order, also
// where boxes stand on, touch or end exactly at the lines between its nodes.

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "geometry/geometry.h"
#include "navigation/path_network.h"

namespace {

using sandbox::Geometry;
using sandbox::PathNetwork;
using sandbox::SolidBox;
using sandbox::Vec3;

std::vector<std::vector<int>> AllPairLinks(const std::vector<Vec3>& nodes, float range, const Geometry& g) {
    const Vec3 lift{0, 0, 0.5f};
    std::vector<std::vector<int>> links(nodes.size());
    for (std::size_t a = 0; a < nodes.size(); ++a) {
        for (std::size_t b = a + 1; b < nodes.size(); ++b) {
            if (!(Length(nodes[b] - nodes[a]) <= range)) continue;
            if (!g.SegmentClear(nodes[a] + lift, nodes[b] + lift)) continue;
            links[a].push_back(static_cast<int>(b));
            links[b].push_back(static_cast<int>(a));
        }
    }
    for (auto& l : links) std::sort(l.begin(), l.end());
    return links;
}

struct GridCase {
    float spacing;
    Vec3 min, max;
    float groundZ;
    std::vector<SolidBox> boxes;
};

TEST(GridLinksTest, MatchEveryPairTestedOnItsOwn) {
    const std::vector<GridCase> cases = {
        // A wall along a grid line, one that ends exactly on a node, one across the diagonals of a cell.
        {5,
         {0, 0, 0},
         {40, 30, 0},
         0,
         {{"", {10, -1, 0}, {10, 12, 4}}, {"", {20, 15, 0}, {25, 15.2f, 4}}, {"", {31, 21, 0}, {34, 24, 4}}}},
        // Boxes touching a link from either side, a low kerb under the links, a box over part of the area.
        {5,
         {-20, -20, 0},
         {20, 20, 0},
         0,
         {{"", {-5, -20, 0}, {-4.9f, 0, 3}},
          {"", {2, 5, 0}, {3, 8, 0.4f}},
          {"", {0, 10, 0}, {30, 30, 6}},
          {"", {4.99f, -3, 0}, {5.01f, -2, 2}}}},
        // Spacing that does not divide the area, raised ground, far from the origin.
        {2.5f,
         {1003.3f, -507.1f, 0},
         {1031, -480, 0},
         12.0f,
         {{"", {1010, -500, 12}, {1010, -490, 20}},
          {"", {1015, -495, 0}, {1016, -494, 12.6f}},
          {"", {1020, -484.2f, 12.4f}, {1030, -484, 13}}}},
        // No boxes at all, and a single column.
        {5, {0, 0, 0}, {20, 20, 0}, 0, {}},
        {5, {0, 0, 0}, {0, 20, 0}, 0, {{"", {-1, 7, 0}, {1, 8, 2}}}},
    };
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const GridCase& c = cases[k];
        Geometry g;
        g.groundZ = c.groundZ;
        g.SetBoxes(c.boxes);
        const PathNetwork network = PathNetwork::Grid(c.spacing, c.min, c.max, g);
        ASSERT_FALSE(network.Empty()) << "case " << k;
        EXPECT_EQ(network.Links(), AllPairLinks(network.Nodes(), c.spacing * 1.5f, g)) << "case " << k;
    }
}

TEST(GridLinksTest, SegmentClearAgreesWithTheExactTestAtFacesAndEdges) {
    Geometry g;
    g.SetBoxes({{"", {0, 0, 0}, {1, 1, 1}}, {"", {3, 0, 0}, {3, 5, 2}}});
    const std::vector<std::pair<Vec3, Vec3>> segments = {
        {{-1, 0.5f, 0.5f}, {-0.0001f, 0.5f, 0.5f}},  // stops just short of a face
        {{-1, 0.5f, 0.5f}, {0, 0.5f, 0.5f}},         // ends on it
        {{1, 1, 0.5f}, {2, 2, 0.5f}},                // starts on an edge
        {{2, 1, 1}, {4, 1, 1}},                      // through a wall of no thickness
        {{2, 1, 2.0001f}, {4, 1, 2.0001f}},          // just over it
        {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}},    // a point inside
        {{5, 5, 5}, {6, 6, 6}},                      // far from both
    };
    const auto exact = [&](Vec3 a, Vec3 b) {
        return std::none_of(g.Boxes().begin(), g.Boxes().end(),
                            [&](const SolidBox& box) { return SegmentHitsBox(a, b, box.min, box.max); });
    };
    for (const auto& [a, b] : segments) {
        EXPECT_EQ(g.SegmentClear(a, b), exact(a, b)) << a.x << " " << a.y << " " << a.z;
        EXPECT_EQ(g.SegmentClear(b, a), exact(b, a));
    }
}

}  // namespace
