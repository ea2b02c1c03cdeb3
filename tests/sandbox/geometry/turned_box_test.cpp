// Vehicles block a line of sight as boxes of their own size, turned with them, and only when asked.

#include <gtest/gtest.h>

#include "geometry/geometry.h"
#include "host/world.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace {

using sandbox::SegmentHitsTurnedBox;
using sandbox::Vec3;

constexpr Vec3 kCar{1.0f, 2.4f, 0.8f};  // half width, half length, half height

TEST(TurnedBoxTest, LengthFollowsTheHeading) {
    // A segment across the y axis 2 m from the centre: inside the car's length, outside its width.
    const Vec3 a{-10, 2, 0.5f};
    const Vec3 b{10, 2, 0.5f};
    EXPECT_TRUE(SegmentHitsTurnedBox(a, b, {0, 0, 0}, kCar, 0.0f));
    EXPECT_FALSE(SegmentHitsTurnedBox(a, b, {0, 0, 0}, kCar, 1.5707964f));
    EXPECT_TRUE(SegmentHitsTurnedBox({-10, 0.9f, 0.5f}, {10, 0.9f, 0.5f}, {0, 0, 0}, kCar, 1.5707964f));
    // Over the roof.
    EXPECT_FALSE(SegmentHitsTurnedBox({-10, 0, 1.7f}, {10, 0, 1.7f}, {0, 0, 0}, kCar, 0.0f));
    // Off to the side, whatever the turn.
    EXPECT_FALSE(SegmentHitsTurnedBox({-10, 5, 0.5f}, {10, 5, 0.5f}, {0, 0, 0}, kCar, 0.7f));
}

TEST(LineOfSightTest, EachKindBlocksOnlyWhenItsFlagIsSet) {
    const sandbox::Scenario scenario = sandbox::ParseScenario(
        R"({ "durationMs": 1000, "player": {},
             "world": { "boxes": [ { "min": [-1, 9, 0], "max": [1, 11, 3] } ] },
             "vehicles": [ { "model": 596, "pos": [0, -10, 0], "heading": 90 } ] })",
        "los.json");
    sandbox::World world(sandbox::ScenarioWorld(scenario));
    const CVector origin{0, 0, 0.6f};
    const CVector north{0, 20, 0.6f};
    const CVector south{0, -20, 0.6f};
    EXPECT_FALSE(CWorld::GetIsLineOfSightClear(origin, north, true, false, false, true, true, false, false));
    EXPECT_TRUE(CWorld::GetIsLineOfSightClear(origin, north, false, true, false, true, true, false, false));
    EXPECT_FALSE(CWorld::GetIsLineOfSightClear(origin, south, true, true, false, true, true, false, false));
    EXPECT_TRUE(CWorld::GetIsLineOfSightClear(origin, south, true, false, false, true, true, false, false));
    EXPECT_EQ(world.SightQueries().calls, 4u);
    EXPECT_TRUE(world.SightQueries().recent.empty());  // kept only when someone asked for them
}

}  // namespace
