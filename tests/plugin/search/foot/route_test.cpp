// Destinations, node snapping, move commands and their time budgets.

#include <gtest/gtest.h>

#include "plugin/search/foot/foot_scenario.h"

namespace {

using namespace foot_test;

// With no stand-off the first sweep leg heads for the scene itself, the origin.
const std::string kOnScene = "StandOffDist=0\nSearchRadius=8\nRunnerPercent=0\nPathfinding=0\n";

TEST(RouteTest, TravelBudgetIsBoundedAndRunnersAreFaster) {
    {
        BlindSession walker(Peds(Cop("cop", 0, -100, 0, 180)), "RunnerPercent=0\nPathfinding=0\n");
        walker.RunFor(kLossMs);
        auto orders = Calls(walker.World(), 0x05D3);
        ASSERT_EQ(orders.size(), 1u);
        EXPECT_EQ(walker.Count("traveling to the scene: ped=* style=0 dist=100.0 mode=6"), 1);
        EXPECT_EQ(orders[0].args[4].i, 6);      // JogMoveState
        EXPECT_EQ(orders[0].args[5].i, 40000);  // 48.7 s, bounded
        // On his own side of the scene, 30 to 36 m from it.
        const float standOff = Dist2D(orders[0].args[1].f, orders[0].args[2].f, 0, 0);
        EXPECT_GE(standOff, 30.0f);
        EXPECT_LE(standOff, 36.0f);
        EXPECT_NEAR(orders[0].args[1].f, 0.0f, 0.01f);
        EXPECT_LT(orders[0].args[2].f, 0.0f);
    }
    BlindSession runner(Peds(Cop("cop", 0, -60, 0, 180)), "RunnerPercent=100\nPathfinding=0\n");
    runner.RunFor(kLossMs);
    const auto orders = Calls(runner.World(), 0x05D3);
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].args[4].i, 6);
    EXPECT_EQ(orders[0].args[5].i, 20454);  // 60 x 1.6 / 5.5 s + 3 s
}

TEST(RouteTest, SweepBudgetUsesTheWayToThePointWithItsLowerBound) {
    {
        BlindSession two(Peds(Cop("cop", 0, -2, 0, 180)), kOnScene + "SnapToNodes=0\n");
        two.RunFor(kLossMs);
        auto orders = Calls(two.World(), 0x05D3);
        ASSERT_EQ(orders.size(), 1u);
        EXPECT_EQ(two.Count("sweeping: ped=* style=0 mode=4 leg=1 r=0.0"), 1);
        EXPECT_EQ(orders[0].args[4].i, 4);
        EXPECT_EQ(orders[0].args[5].i, 4500);
    }
    BlindSession half(Peds(Cop("cop", 0, -0.5f, 0, 180)), kOnScene + "SnapToNodes=0\n");
    half.RunFor(kLossMs);
    const auto orders = Calls(half.World(), 0x05D3);
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].args[5].i, 4000);
}

TEST(RouteTest, PathfindingGivesThePathCommandWithoutTimeLimit) {
    BlindSession s(Peds(Cop("cop", 0, -10, 0, 180)), "RunnerPercent=0\nSnapToNodes=0\n");
    s.RunFor(kLossMs);
    const auto orders = Calls(s.World(), 0x05F5);
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].args[5].i, -1);
    EXPECT_EQ(Calls(s.World(), 0x05D3).size(), 0u);
}

std::string WithNode(float x) {
    return Peds(Cop("cop", 0, -10, 0, 180)) + R"(, "world": { "pedNodes": [ [)" + std::to_string(x) +
           ", 0, 0] ] }";
}

TEST(RouteTest, SnapsToANodeWithin25MetresAndLogsOnlyTheFirstThree) {
    // Every step ends on the next tick, so each tick asks for a node again.
    {
        BlindSession near(WithNode(25.0f), kOnScene + "WaypointArriveDist=1000\nLookChance=0\n");
        near.RunFor(kLossMs + 600);
        const auto orders = Calls(near.World(), 0x05D3);
        ASSERT_GE(orders.size(), 4u);
        EXPECT_FLOAT_EQ(orders[0].args[1].f, 25.0f);
        EXPECT_EQ(near.Count("snap: asking for closest ped node"), 3);
        EXPECT_EQ(near.Count("snap: node=25.0,0.0,0.0"), 3);
        EXPECT_EQ(Calls(near.World(), 0x02C0).size(), orders.size());
    }
    BlindSession far(WithNode(25.1f), kOnScene);
    far.RunFor(kLossMs);
    const auto farOrders = Calls(far.World(), 0x05D3);
    ASSERT_EQ(farOrders.size(), 1u);
    EXPECT_FLOAT_EQ(farOrders[0].args[1].f, 0.0f);
}

TEST(RouteTest, NoSnapWhenSwitchedOffAndGroundOrFallbackHeight) {
    const std::string cop = Peds(Cop("cop", 0, -10, 0, 180));
    {
        BlindSession hole(
            cop + R"(, "world": { "groundZ": 2, "noGround": [ { "min": [-5, -5], "max": [5, 5] } ] })",
            kOnScene + "SnapToNodes=0\n");
        hole.RunFor(kLossMs);
        auto orders = Calls(hole.World(), 0x05D3);
        ASSERT_EQ(orders.size(), 1u);
        EXPECT_EQ(hole.Count("snap: *"), 0);
        EXPECT_EQ(Calls(hole.World(), 0x02C0).size(), 0u);
        EXPECT_FLOAT_EQ(orders[0].args[3].f, 0.0f);  // the scene's own height: nothing below the point
    }
    BlindSession roof(
        cop + R"(, "world": { "boxes": [ { "id": "kiosk", "min": [-1, -1, 0], "max": [1, 1, 3] } ] })",
        kOnScene + "SnapToNodes=0\n");
    roof.RunFor(kLossMs);
    const auto orders = Calls(roof.World(), 0x05D3);
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_FLOAT_EQ(orders[0].args[3].f, 3.0f);  // the top of the box under the point
}

TEST(RouteTest, MovementWatchdogSendsAStuckCopStraightForTenSeconds) {
    BlindSession s(Peds(Cop("cop", 0, -10, 0, 180)), "RunnerPercent=0\nSnapToNodes=0\nLookChance=0\n");
    s.RunFor(kLossMs);
    ASSERT_EQ(Calls(s.World(), 0x05F5).size(), 1u);
    // The host never carries the order out.
    for (int i = 0; i < 60 && s.Count("watchdog: cop is not moving*") == 0; ++i) {
        s.Ped("cop").moving = false;
        s.Frame(50);
    }
    EXPECT_EQ(s.Count("watchdog: cop is not moving, new order (straight line for 10 s): ped=* step=2"), 1);
    // Checks run 2501 ms or more apart: the first stamps, the second (at 3450 + 2550) fires.
    EXPECT_EQ(s.World().Now(), 6000u);
    const auto straight = Calls(s.World(), 0x05D3);
    ASSERT_EQ(straight.size(), 1u);
    EXPECT_EQ(straight[0].time, 6000u);
    EXPECT_GT(straight[0].args[5].i, 0);
}

TEST(RouteTest, ACopGettingOutOfACarIsNotCountedAsStuck) {
    BlindSession s(Peds(Cop("cop", 0, -10, 0, 180)), "RunnerPercent=0\nSnapToNodes=0\n");
    s.RunFor(kLossMs);
    s.Ped("cop").AddTask(704, 0);
    for (int i = 0; i < 100; ++i) {
        s.Ped("cop").moving = false;
        s.Frame(50);
    }
    EXPECT_EQ(s.Count("watchdog: cop is not moving*"), 0);
}

}  // namespace
