// Generated towns: the same seed gives the same town, the path network reaches every street and
// alley, nothing stands inside a building, and the police start where the layout says.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "geometry/geometry.h"
#include "navigation/path_network.h"
#include "town/town.h"

namespace {

sandbox::Geometry GeometryOf(const sandbox::Town& town) {
    sandbox::Geometry geometry;
    std::vector<sandbox::SolidBox> boxes;
    for (const sandbox::Box& b : town.boxes) boxes.push_back({b.id, b.min, b.max});
    geometry.SetBoxes(std::move(boxes));
    return geometry;
}

bool SameBoxes(const sandbox::Town& a, const sandbox::Town& b) {
    return std::equal(a.boxes.begin(), a.boxes.end(), b.boxes.begin(), b.boxes.end(),
                      [](const sandbox::Box& x, const sandbox::Box& y) {
                          return x.min.x == y.min.x && x.min.y == y.min.y && x.max.x == y.max.x &&
                                 x.max.y == y.max.y && x.max.z == y.max.z;
                      });
}

TEST(TownTest, TheSameSeedBuildsTheSameTownAndAnotherSeedAnother) {
    const sandbox::TownLayout layout;
    EXPECT_TRUE(SameBoxes(sandbox::BuildTown(layout, 7), sandbox::BuildTown(layout, 7)));
    EXPECT_FALSE(SameBoxes(sandbox::BuildTown(layout, 7), sandbox::BuildTown(layout, 8)));
}

TEST(TownTest, EveryNodeIsFreeAndReachableFromThePlayersCrossing) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        sandbox::TownLayout layout;
        layout.blocksX = 3;
        layout.blocksY = 4;
        const sandbox::Town town = sandbox::BuildTown(layout, seed);
        const sandbox::Geometry geometry = GeometryOf(town);
        const sandbox::PathNetwork network = sandbox::PathNetwork::Points(town.nodes, geometry);
        for (const sandbox::Vec3 node : town.nodes) {
            EXPECT_FALSE(geometry.InsideBox(node + sandbox::Vec3{0, 0, 0.5f}));
            const std::vector<sandbox::Vec3> route = network.Route(town.playerPos, node);
            // A route through the network ends at the node; without a chain it is the node alone.
            EXPECT_TRUE(route.size() > 1 ||
                        sandbox::Length2D(node - town.playerPos) < layout.nodeSpacing * 1.5f);
        }
        for (const sandbox::Box& b : town.boxes) {
            EXPECT_GE(b.max.z, layout.height.first);
            EXPECT_LE(b.max.z, layout.height.second);
            if (b.min.z > 0.0f) continue;  // a cover's roof, street-wide
            for (const float side : {b.max.x - b.min.x, b.max.y - b.min.y}) {
                EXPECT_GE(side, layout.building.first);
                EXPECT_LE(side, layout.building.second);
            }
        }
    }
}

TEST(TownTest, CopsStartWithinTheirDistanceAtTheirOwnSpeedAndCarsHaveTheirCrews) {
    sandbox::TownLayout layout;
    layout.copsOnFoot = 6;
    layout.copCars = 2;
    layout.helis = 1;
    layout.parkedCars = 3;
    const sandbox::Town town = sandbox::BuildTown(layout, 11);
    ASSERT_EQ(town.peds.size(), 6u + 4u + 1u);
    ASSERT_EQ(town.vehicles.size(), 2u + 1u + 3u);
    std::set<float> speeds;
    for (std::size_t i = 0; i < 6; ++i) {
        const float d = sandbox::Length2D(town.peds[i].pos - town.playerPos);
        EXPECT_GE(d, layout.copDistance.first);
        EXPECT_LE(d, layout.copDistance.second);
        ASSERT_TRUE(town.peds[i].runSpeed);
        EXPECT_GE(*town.peds[i].runSpeed, layout.runSpeed.first);
        EXPECT_LE(*town.peds[i].runSpeed, layout.runSpeed.second);
        speeds.insert(*town.peds[i].runSpeed);
    }
    EXPECT_GT(speeds.size(), 1u);
    EXPECT_EQ(town.peds[6].vehicle, "police1");
    EXPECT_EQ(town.peds[7].vehicle, "police1");
    EXPECT_NE(town.peds[6].seat, town.peds[7].seat);
    EXPECT_TRUE(town.vehicles[0].lawEnforcer);
    EXPECT_FALSE(town.vehicles.back().lawEnforcer);
    EXPECT_EQ(sandbox::TownPedIds(layout).size(), town.peds.size());
}

}  // namespace

namespace {

// Every cover roofs a stretch of street: a ped walks under it on the ground, his eyes are seen from
// the street but not from above, and no two covers share a stretch.
TEST(TownTest, CoversRoofStretchesOfStreetThatHideAPedFromAboveOnly) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        sandbox::TownLayout layout;
        layout.blocksX = 2;
        layout.blocksY = 2;
        layout.covers = sandbox::TownStreetStretches(layout);  // all twelve
        const sandbox::Town town = sandbox::BuildTown(layout, seed);
        const sandbox::Geometry geometry = GeometryOf(town);
        std::set<std::pair<float, float>> middles;
        int covers = 0;
        for (const sandbox::Box& b : town.boxes) {
            if (b.min.z == 0.0f) continue;
            ++covers;
            const sandbox::Vec3 under{(b.min.x + b.max.x) / 2, (b.min.y + b.max.y) / 2, 0};
            middles.insert({under.x, under.y});
            EXPECT_EQ(geometry.GroundZUnder(under.x, under.y, 0.5f), 0.0f);
            EXPECT_EQ(geometry.GroundZ(under.x, under.y), b.max.z);
            const sandbox::Vec3 eyes = under + sandbox::Vec3{0, 0, 1.6f};
            EXPECT_FALSE(geometry.SegmentClear(eyes, under + sandbox::Vec3{3, 3, 30}));
            const bool alongY = b.max.y - b.min.y > b.max.x - b.min.x;
            const sandbox::Vec3 street = alongY ? sandbox::Vec3{0, 20, 0} : sandbox::Vec3{20, 0, 0};
            EXPECT_TRUE(geometry.SegmentClear(eyes, eyes + street));
        }
        EXPECT_EQ(covers, 12);
        EXPECT_EQ(middles.size(), 12u);
    }
}

}  // namespace
