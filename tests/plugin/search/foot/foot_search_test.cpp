// The foot search: its start, the choice of step, sweep legs, looks about, aim scans and the step watchdog.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <utility>

#include "plugin/search/foot/foot_scenario.h"
#include "pools/host_tasks.h"

namespace {

using namespace foot_test;

// Every step ends on the tick after it was given, so each tick chooses afresh.
const std::string kQuickSteps = "RunnerPercent=0\nSnapToNodes=0\nPathfinding=0\nWaypointArriveDist=1000\n";

TEST(FootSearchTest, WithoutFootSearchTheCopIsFlushedOnceAndGivenNothing) {
    BlindSession s(Peds(Cop("cop", 0, -20, 0, 180)), "FootSearch=0\n");
    s.RunFor(kLossMs + 3000);
    EXPECT_EQ(s.Count("flushing pursuit task: ped=*"), 1);
    EXPECT_EQ(s.Count("pursuit task flushed: ped=*"), 1);
    EXPECT_EQ(s.World().Journal().Calls().size(), 0u);
}

TEST(FootSearchTest, ACopStillGettingOutOfACarWaitsForIt) {
    BlindSession s(Peds(Cop("cop", 0, -20, 0, 180)));
    s.Ped("cop").AddTask(704, 0);
    s.RunFor(kLossMs + 450);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 1);
    EXPECT_EQ(s.Count("flushing pursuit task: ped=*"), 0);
    EXPECT_EQ(s.World().Journal().Calls().size(), 0u);
    s.Ped("cop").RemoveTask(704);
    s.RunFor(150);
    EXPECT_EQ(s.Count("flushing pursuit task: ped=*"), 1);
    EXPECT_EQ(s.Count("sweeping: ped=*"), 1);
}

TEST(FootSearchTest, AFarCopTravelsFirstAndSweepsOnArrival) {
    BlindSession s(Peds(Cop("cop", 0, -100, 0, 180)), "RunnerPercent=0\nSnapToNodes=0\nLookChance=0\n");
    s.RunFor(kLossMs);
    EXPECT_EQ(s.Count("traveling to the scene: ped=* style=0 dist=100.0 mode=6"), 1);
    EXPECT_EQ(s.Count("travel task done: ped=*"), 1);
    EXPECT_EQ(s.Count("sweeping: ped=*"), 0);
    s.RunFor(20000);  // 64 to 70 m at 5.5 m/s
    EXPECT_EQ(s.Count("traveling to the scene: ped=*"), 1);
    EXPECT_EQ(s.Count("sweeping: ped=* style=0 mode=4 leg=1 r=30.0"), 1);
    EXPECT_EQ(s.Count("sweep task done: ped=*"), 1);
}

// The radius and angle of each leg, read back from the orders (leg k around the origin).
TEST(FootSearchTest, SweepLegsWalkTheRadiiAndTurnByLeg) {
    BlindSession s(Peds(Cop("cop", 0, -20, 0, 180)), kQuickSteps + "LookChance=0\n");
    s.RunFor(kLossMs + 150 * 15);
    const auto orders = Calls(s.World(), 0x05D3);
    ASSERT_EQ(orders.size(), 16u);
    const float radii[] = {30, 37, 44, 36, 43, 35, 42, 34, 41, 33, 40, 32, 39, 31, 38, 30};
    for (int k = 0; k < 16; ++k) {
        char line[80];
        std::snprintf(line, sizeof line, "sweeping: ped=* style=0 mode=4 leg=%d r=%.1f", k + 1,
                      static_cast<double>(radii[k]));
        EXPECT_EQ(s.Count(line), 1) << line;
        const float x = orders[static_cast<std::size_t>(k)].args[1].f;
        const float y = orders[static_cast<std::size_t>(k)].args[2].f;
        EXPECT_NEAR(std::hypot(x, y), radii[k], 0.01f);
        // The first cop of the process has sweep phase 0.
        const double off = std::remainder(std::atan2(y, x) - 0.9 * k, 2.0 * M_PI);
        EXPECT_LE(std::fabs(off), 0.3501) << "leg " << k + 1;
    }
}

TEST(FootSearchTest, LooksAboutOnlyAfterEnoughMovesAndForItsDrawnTime) {
    BlindSession s(Peds(Cop("cop", 0, -20, 0, 180)),
                   kQuickSteps + "LookChance=100\nMinMovesBetweenPauses=2\nLookMinMs=1200\nLookMaxMs=1200\n");
    s.RunFor(kLossMs);
    // A fresh record has 99 moves, but after a flush the last step is none: a sweep comes first.
    EXPECT_EQ(s.Count("sweeping: ped=* leg=1 *"), 1);
    s.RunFor(150);
    ASSERT_EQ(s.Count("looking about: ped=* time=*"), 1);
    EXPECT_EQ(s.Count("look about done: ped=*"), 1);
    const auto looks = Calls(s.World(), 0x05C9);
    ASSERT_EQ(looks.size(), 1u);
    EXPECT_EQ(looks[0].args[1].i, 1200);
    // It lasts its time; then two legs must pass before the next.
    s.RunFor(1050);
    EXPECT_EQ(s.Count("sweeping: ped=*"), 1);
    s.RunFor(150);
    EXPECT_EQ(s.Count("sweeping: ped=*"), 2);
    s.RunFor(150);
    EXPECT_EQ(s.Count("sweeping: ped=*"), 3);
    EXPECT_EQ(s.Count("looking about: ped=*"), 1);
    s.RunFor(150);
    EXPECT_EQ(s.Count("looking about: ped=*"), 2);
}

// The look times drawn with LookMinMs and LookMaxMs as given, counted by the time logged.
int LooksLogged(const std::string& bounds, const std::string& time) {
    BlindSession s(Peds(Cop("cop", 0, -20, 0, 180)),
                   kQuickSteps + "LookChance=100\nMinMovesBetweenPauses=0\n" + bounds);
    s.RunFor(kLossMs + 300);
    return s.Count("looking about: ped=* time=" + time);
}

TEST(FootSearchTest, ExtremeLookTimesNeitherCrashNorRunBackwards) {
    // The span of the whole int range would wrap to zero in 32 bits.
    EXPECT_EQ(LooksLogged("LookMinMs=-2147483648\nLookMaxMs=2147483647\n", "0"), 1);
    EXPECT_EQ(LooksLogged("LookMinMs=2147483647\nLookMaxMs=2147483647\n", "2147483647"), 1);
    EXPECT_EQ(LooksLogged("LookMinMs=-5000\nLookMaxMs=-4000\n", "0"), 1);
}

TEST(FootSearchTest, AimScanComesWhenDueInTheNearZoneWithALoadedGun) {
    BlindSession s(Peds(ArmedCop("cop", 0, -20)),
                   "RunnerPercent=0\nSnapToNodes=0\nAimMinMs=1000\nAimMaxMs=1000\n");
    s.RunFor(kLossMs + 900);
    EXPECT_EQ(s.Count("aim scan: ped=*"), 0);
    s.RunFor(150);  // 4350: armed at 3300 for 4300
    ASSERT_EQ(s.Count("aim scan: ped=* weapon=22 time=*"), 1);
    EXPECT_EQ(s.Count("aim scan done: ped=*"), 1);
    const auto weapons = Calls(s.World(), 0x01B9);
    const auto aims = Calls(s.World(), 0x0667);
    ASSERT_EQ(weapons.size(), 1u);
    ASSERT_EQ(aims.size(), 1u);
    EXPECT_EQ(weapons[0].args[1].i, 22);
    const sandbox::Vec3 cop = s.Ped("cop").Position();
    const float reach = Dist2D(aims[0].args[1].f, aims[0].args[2].f, cop.x, cop.y);
    EXPECT_GE(reach, 7.99f);
    EXPECT_LE(reach, 16.01f);
    EXPECT_FLOAT_EQ(aims[0].args[3].f, cop.z + 0.8f);
    const int t = aims[0].args[4].i;
    EXPECT_GE(t, 1500);
    EXPECT_LE(t, 2999);
    // It ends 200 ms after its own time, and a sweep follows.
    const int sweeps = s.Count("sweeping: ped=*");
    s.RunFor(static_cast<std::uint32_t>(t / 150 * 150));
    EXPECT_EQ(s.Count("sweeping: ped=*"), sweeps);
    s.RunFor(450);
    EXPECT_EQ(s.Count("sweeping: ped=*"), sweeps + 1);
}

TEST(FootSearchTest, NoAimScanWithoutALoadedFirearmNorDuringTravel) {
    std::string empty = Cop("unarmed", 0, -20, 0, 180);
    empty.insert(empty.size() - 2,
                 R"(, "weapons": [ { "type": 22, "ammo": 0 }, { "type": 35, "ammo": 9 } ])");
    BlindSession s(Peds(empty + ", " + ArmedCop("far", 0, -150)),
                   "SnapToNodes=0\nAimMinMs=1000\nAimMaxMs=1000\n");
    s.RunFor(kLossMs + 3000);
    EXPECT_EQ(s.Count("traveling to the scene: ped=*"), 1);
    EXPECT_EQ(s.Count("aim scan: ped=*"), 0);
    EXPECT_EQ(Calls(s.World(), 0x0667).size(), 0u);
}

TEST(FootSearchTest, TheFirstGunInSlotOrderIsTheOneAimed) {
    std::string cop = Cop("cop", 0, -20, 0, 180);
    cop.insert(
        cop.size() - 2,
        R"(, "weapons": [ { "type": 21, "ammo": 5 }, { "type": 31, "ammo": 0 }, { "type": 34, "ammo": 3 }, { "type": 22, "ammo": 9 } ])");
    BlindSession s(Peds(cop), "SnapToNodes=0\nAimMinMs=1000\nAimMaxMs=1000\n");
    s.RunFor(kLossMs + 1050);
    EXPECT_EQ(s.Count("aim scan: ped=* weapon=34 time=*"), 1);
}

TEST(FootSearchTest, StepWatchdogCatchesALookNotWatchedForLong) {
    BlindSession s(Peds(Cop("cop", 0, -20, 0, 180)),
                   kQuickSteps + "LookChance=100\nMinMovesBetweenPauses=0\nLookMinMs=1500\nLookMaxMs=1500\n");
    s.RunFor(kLossMs + 150);
    ASSERT_EQ(s.Count("looking about: ped=* time=1500"), 1);
    // The player goes far away: the cop drops out of the list for a while.
    s.World().Player()->SetPosition({0, 400, 0});
    s.RunFor(3600);
    s.World().Player()->SetPosition({0, 0, 0});
    s.RunFor(150);
    EXPECT_EQ(s.Count("watchdog: aim/look task did not end, flushing: ped=*"), 1);
    // After a flush no look about: the cop sweeps.
    EXPECT_EQ(s.Count("looking about: ped=*"), 1);
    EXPECT_EQ(s.Count("sweeping: ped=*"), 2);
}

// A pursuit task the host slipped on him ends his step: the aim timer starts again from the flush.
TEST(FootSearchTest, AnAntiLockFlushRestartsTheAimTimer) {
    BlindSession s(Peds(ArmedCop("cop", 0, -20)),
                   "RunnerPercent=0\nSnapToNodes=0\nLookChance=0\n"
                   "AimMinMs=3000\nAimMaxMs=3000\n");
    s.RunFor(kLossMs + 1500);  // the aim is due at 6300
    s.Ped("cop").AddTask(sandbox::kTaskPursuitOnFoot, 0);
    s.RunFor(300);
    ASSERT_EQ(s.Count("anti-lock: vanilla pursuit task *"), 1);
    s.RunFor(2100);
    EXPECT_EQ(s.Count("aim scan: ped=*"), 0);
    s.RunFor(1200);
    EXPECT_EQ(s.Count("aim scan: ped=*"), 1);
}

// A look about widens his sight as an aim does: a cop who sees 1 m sees the player 20 m off. The
// chase that follows ends the alertness: out of plain sight he loses the player after his grace.
TEST(FootSearchTest, ALookAboutMakesTheCopAlertUntilHeChasesAgain) {
    Session s(Peds(Cop("cop", 0, -20, 0, 180)),
              "SightRange=1\nCloseRange=0\nAlertRangeBonus=60\nAlertAngleBonus=360\n" + kQuickSteps +
                  "LookChance=100\nMinMovesBetweenPauses=0\nLookMinMs=2000\nLookMaxMs=2000\n");
    ASSERT_TRUE(s.RunUntil("looking about: ped=*"));
    s.RunFor(300);
    EXPECT_EQ(s.Count("cop is chasing again: ped=*"), 1);
    s.World().Player()->SetPosition({0, 20, 0});
    s.RunFor(3300);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 2);
}

// The sweep's move state reaches the host's go-straight order: a walker walks, a runner jogs.
TEST(FootSearchTest, SweepsGoAtThePaceOfTheCopsStyle) {
    for (const auto& [percent, speed] : {std::pair{0, 1.6f}, {100, 5.5f}}) {
        BlindSession s(
            Peds(Cop("cop", 0, -20, 0, 180)),
            "LookChance=0\nPathfinding=0\nSnapToNodes=0\nRunnerPercent=" + std::to_string(percent) + "\n");
        ASSERT_TRUE(s.RunUntil("sweeping: ped=*"));
        const sandbox::Vec3 from = s.Ped("cop").Position();
        s.RunFor(1000);
        const sandbox::Vec3 to = s.Ped("cop").Position();
        EXPECT_NEAR(Dist2D(from.x, from.y, to.x, to.y), speed, 0.1f) << percent;
    }
}

// An aim scan is a pause: the moves before the next look about are counted from it.
TEST(FootSearchTest, AfterAnAimScanTheMovesBeforeALookCountAfresh) {
    BlindSession s(Peds(ArmedCop("cop", 0, -20)),
                   kQuickSteps +
                       "LookChance=100\nMinMovesBetweenPauses=3\n"
                       "LookMinMs=1\nLookMaxMs=1\nAimMinMs=5300\nAimMaxMs=5300\n");
    ASSERT_TRUE(s.RunUntil("aim scan: ped=*"));
    const int sweeps = s.Count("sweeping: ped=*");
    ASSERT_TRUE(s.RunUntil("looking about: ped=*", 10000));
    EXPECT_EQ(s.Count("sweeping: ped=*"), sweeps + 3);
}

// A searching cop who sat in a car for a moment is taken over afresh once he is out again.
TEST(FootSearchTest, ACopBackOutOfACarIsTakenOverAfresh) {
    BlindSession s(Peds(Cop("cop", 0, -20, 0, 180)) +
                       R"(, "vehicles": [ { "id": "car", "model": 596, "pos": [5, -20, 0] } ])",
                   "LookChance=0\nVehicleSightRange=1\nCloseRangeCar=0\n");
    ASSERT_TRUE(s.RunUntil("sweeping: ped=*"));
    s.World().SeatPed(s.Ped("cop"), *s.World().FindVehicle("car"), 0);
    s.RunFor(300);
    s.World().UnseatPed(s.Ped("cop"));
    s.RunFor(1500);
    EXPECT_EQ(s.Count("pursuit task flushed: ped=*"), 2);
}

}  // namespace
