// The foot search's limits, each met exactly, a step short and a step past; its time limits once
// more with the clock wrapping between the stamp and the check.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "plugin/search/foot/foot_scenario.h"

namespace {

using namespace foot_test;
using awareness_test::ClockStart;
using awareness_test::ExpectTimeLimit;

// Nodes every 10 m: a snapped search point lies on whole metres, so a cop can be put an exact
// distance from it.
const std::string kNodes = R"("world": { "pedNodes": { "spacing": 10 } }, )";

std::string LoneCop(std::uint32_t clockStart) {
    return ClockStart(clockStart) + Peds(Cop("cop", 0, -20, 0, 180));
}

TEST(FootBoundaryTest, AStepEndsOnlyCloserToItsPointThanTheArrivalDistance) {
    const struct {
        float off;
        bool arrived;
    } rows[] = {{4.0f, false}, {3.99f, true}, {4.01f, false}};
    for (const auto& row : rows) {
        BlindSession s(kNodes + LoneCop(0), "WaypointArriveDist=4\nLookChance=0\nPathfinding=0\n");
        ASSERT_TRUE(s.RunUntil("sweeping: ped=*"));
        const auto order = Calls(s.World(), 0x05D3).back();
        sandbox::Ped& cop = s.Ped("cop");
        cop.moving = false;
        cop.SetPosition({order.args[1].f, order.args[2].f + row.off, order.args[3].f});
        s.TickAfter(150);
        EXPECT_EQ(s.Count("sweeping: ped=*"), row.arrived ? 2 : 1) << row.off;
    }
}

// Armed on the tick after the sweep, the watchdog looks `after` ms later; the cop has moved `moved` m.
bool WatchdogFires(std::uint32_t clockStart, float moved, std::uint32_t after, std::uint32_t* armedAt) {
    BlindSession s(LoneCop(clockStart), "LookChance=0\nPathfinding=0\nSnapToNodes=0\n");
    EXPECT_TRUE(s.RunUntil("sweeping: ped=*"));
    sandbox::Ped& cop = s.Ped("cop");
    cop.moving = false;
    s.TickAfter(150);
    if (armedAt != nullptr) *armedAt = s.World().Now();
    cop.SetPosition({moved, -20, 0});
    s.TickAfter(after);
    return s.Count("watchdog: cop is not moving, new order *") == 1;
}

TEST(FootBoundaryTest, TheMoveWatchdogWantsOneMetre) {
    EXPECT_FALSE(WatchdogFires(0, 1.0f, 2550, nullptr));
    EXPECT_TRUE(WatchdogFires(0, 0.99f, 2550, nullptr));
    EXPECT_FALSE(WatchdogFires(0, 1.01f, 2550, nullptr));
}

TEST(FootBoundaryTest, TheMoveWatchdogLooks2501MsAfterItArmed) {
    ExpectTimeLimit([](std::uint32_t start, int shift,
                       std::uint32_t* armedAt) { return WatchdogFires(start, 0.0f, 2501 + shift, armedAt); },
                    {false, true, true});
}

// A look the cop was not watched through ends as usual up to 1500 ms past its time, and is
// flushed as stuck after that.
TEST(FootBoundaryTest, ALookUnwatchedForMoreThan1500MsPastItsTimeIsFlushed) {
    ExpectTimeLimit(
        [](std::uint32_t start, int shift, std::uint32_t* lookAt) {
            BlindSession s(LoneCop(start),
                           "RunnerPercent=0\nSnapToNodes=0\nPathfinding=0\n"
                           "WaypointArriveDist=1000\nLookChance=100\n"
                           "MinMovesBetweenPauses=0\nLookMinMs=1500\nLookMaxMs=1500\n");
            EXPECT_TRUE(s.RunUntil("looking about: ped=*"));
            if (lookAt != nullptr) *lookAt = s.World().Now();
            s.TickAfter(150);  // watched once, then out of the list until he is looked at again
            sandbox::Ped& player = *s.World().Player();
            player.SetPosition({0, 400, 0});
            s.TickAfter(static_cast<std::uint32_t>(2850 + shift), [&] { player.SetPosition({0, 0, 0}); });
            return s.Count("watchdog: aim/look task did not end, flushing: ped=*") == 1;
        },
        {false, false, true});
}

// Whether a cop runs is his record's first draw of rand, below RunnerPercent.
TEST(FootBoundaryTest, ACopRunsWhenHisDrawIsBelowRunnerPercent) {
    std::srand(1);
    const int draw = std::rand() % 100;
    for (const int percent : {draw - 1, draw, draw + 1}) {
        if (percent < 0) continue;
        std::srand(1);  // a hand-stepped session leaves the seeding to the test
        BlindSession s(LoneCop(0), "RunnerPercent=" + std::to_string(percent) + "\nLookChance=0\n");
        ASSERT_TRUE(s.RunUntil("sweeping: ped=*"));
        EXPECT_EQ(s.Count("sweeping: ped=* style=1 *"), percent > draw ? 1 : 0) << percent;
    }
}

// The near zone reaches 1.2 search radii (54 m here) from the scene: from there on he sweeps.
TEST(FootBoundaryTest, ACopSweepsFromTheEdgeOfTheNearZoneAndTravelsFromBeyondIt) {
    const float edge = 1.2f * 45.0f;  // as the plugin works it out, to the last bit
    const float inf = std::numeric_limits<float>::infinity();
    for (const auto& [d, sweeps] :
         {std::pair{edge, true}, {std::nextafter(edge, 0.0f), true}, {std::nextafter(edge, inf), false}}) {
        BlindSession s(Peds(Cop("cop", 0, -50, 0, 180)), "SearchRadius=45\nStandOffDist=30\nLookChance=0\n");
        s.Ped("cop").SetPosition({0, -d, 0});
        ASSERT_TRUE(s.RunUntil("pursuit task flushed: ped=*"));
        EXPECT_EQ(s.Count("sweeping: ped=*"), sweeps ? 1 : 0) << d;
        EXPECT_EQ(s.Count("traveling to the scene: ped=*"), sweeps ? 0 : 1) << d;
    }
}

// A chance of 0 never draws a look about, whatever the draw; 100 always does once it may.
TEST(FootBoundaryTest, LookChanceZeroNeverLooksAndAHundredAlwaysDoes) {
    const std::string cops = Peds(Cop("a", 0, -20, 0, 180) + ", " + Cop("b", 20, 0, 0, 180) + ", " +
                                  Cop("c", 0, 20, 0, 180) + ", " + Cop("d", -20, 0, 0, 180));
    for (const int chance : {0, 100}) {
        BlindSession s(cops,
                       "RunnerPercent=0\nSnapToNodes=0\nPathfinding=0\nWaypointArriveDist=1000\n"
                       "MinMovesBetweenPauses=0\nLookMinMs=1\nLookMaxMs=1\nLookChance=" +
                           std::to_string(chance) + "\n");
        s.RunFor(kLossMs + 30000);
        const int looks = s.Count("looking about: *");
        const int sweeps = s.Count("sweeping: *");
        if (chance == 0) {
            EXPECT_EQ(looks, 0);
        } else {
            // Every sweep but each cop's first is followed by a look, and every look by a sweep.
            EXPECT_NEAR(looks, sweeps, 4);
        }
    }
}

// A pause stops the watchdog: the next move is watched from its own start, not from before the pause.
TEST(FootBoundaryTest, TheMoveWatchdogStartsAfreshAfterALook) {
    BlindSession s(LoneCop(0),
                   "RunnerPercent=0\nSnapToNodes=0\nPathfinding=0\nWaypointArriveDist=1000\n"
                   "LookChance=100\nMinMovesBetweenPauses=0\nLookMinMs=3000\nLookMaxMs=3000\n");
    ASSERT_TRUE(s.RunUntil("looking about: ped=*"));
    ASSERT_TRUE(s.RunUntil("sweeping: ped=*"));
    s.RunFor(450);
    EXPECT_EQ(s.Count("watchdog: cop is not moving*"), 0);
}

// A cop the watchdog caught gets his new order on the same tick, in a straight line.
TEST(FootBoundaryTest, TheWatchdogsNewOrderComesAtOnce) {
    BlindSession s(LoneCop(0), "LookChance=0\nSnapToNodes=0\n");
    ASSERT_TRUE(s.RunUntil("sweeping: ped=*"));
    s.Ped("cop").moving = false;
    ASSERT_TRUE(s.RunUntil("watchdog: cop is not moving*", 6000));
    EXPECT_EQ(s.Count("sweeping: ped=*"), 2);
    EXPECT_EQ(Calls(s.World(), 0x05D3).size(), 1u);
}

}  // namespace
