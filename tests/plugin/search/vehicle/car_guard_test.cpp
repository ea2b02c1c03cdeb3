// The car guard: mission check and its log schedule, law-enforcer flags, the vehicle purge, the counter.

#include <gtest/gtest.h>

#include "plugin/search/vehicle/car_scene.h"

namespace {

using car_test::Session;

// A car far enough out to drive for most of the test; the player walks off so nobody sees him.
Session FarCar(const std::string& settings = "") { return Session({{"pc", 0, -190}}, settings); }

void PlayerLeaves(Session& s) {
    s.Frame(50);
    s.World().Player()->SetPosition({-60, 0, 0});  // within 200 m of the car, never seen
}

TEST(MissionCheckTest, EachOrderIsFollowedByAtMostFourLinesAndChaseMissionsReorderOncePerSecond) {
    Session s = FarCar();
    PlayerLeaves(s);
    s.RunTo(4000);
    EXPECT_EQ(s.Count("car mission check: veh=*"), 0);  // the first comes at least 700 ms after the order
    s.RunTo(4050);
    EXPECT_EQ(s.Count("car mission check: veh=* mission=8 tempAction=0 cruise=25 style=2 lawFlag=1"), 1);
    s.RunTo(14000);  // 4050, 6600, 9150, 11700
    EXPECT_EQ(s.Count("car mission check: veh=*"), 4);
    s.Car("pc").m_autoPilot.m_nCarMission = 7;  // not a chase mission: nothing happens
    s.RunFor(300);
    EXPECT_EQ(s.Orders(), 1);
    s.Car("pc").m_autoPilot.m_nCarMission = 4;
    s.RunFor(150);  // 14450
    EXPECT_EQ(s.Count("anti-lock: vanilla chase mission 4 on our car, ordering it to the scene again: veh=*"),
              1);
    EXPECT_EQ(s.Orders(), 2);
    EXPECT_EQ(s.Car("pc").m_autoPilot.m_nCarMission, 8);
    s.Car("pc").m_autoPilot.m_nCarMission = 4;
    s.RunFor(900);  // 15350: less than 1001 ms after the re-order
    EXPECT_EQ(s.Orders(), 2);
    s.RunFor(150);  // 15500
    EXPECT_EQ(s.Orders(), 3);
    EXPECT_EQ(s.Count("car mission check: veh=*"), 5);  // 15150: the first of the series of 14400
    s.RunFor(700);                                      // and the first of the series of 15450
    EXPECT_EQ(s.Count("car mission check: veh=*"), 6);
}

TEST(LawFlagTest, AClearedFlagStaysClearedThenComesBackAfterLawFlagMaxMs) {
    Session s = FarCar("ClearLawFlag=1\nLawFlagMaxMs=4950\n");
    PlayerLeaves(s);
    s.RunTo(3300);
    EXPECT_FALSE(s.Car("pc").m_bIsLawEnforcer);
    s.Car("pc").m_bIsLawEnforcer = true;  // the host sets it again: the mission check takes it back
    s.RunFor(150);
    EXPECT_FALSE(s.Car("pc").m_bIsLawEnforcer);
    s.RunTo(8300);  // the tick at 8250 is exactly 4950 ms after the order: still owed
    EXPECT_FALSE(s.Car("pc").m_bIsLawEnforcer);
    s.RunTo(8400);
    EXPECT_TRUE(s.Car("pc").m_bIsLawEnforcer);
    EXPECT_EQ(s.Count("law-enforcer flag restored: veh=*"), 1);
    s.RunFor(3000);
    EXPECT_TRUE(s.Car("pc").m_bIsLawEnforcer);
    EXPECT_EQ(s.Count("law-enforcer flag restored: veh=*"), 1);
}

TEST(LawFlagTest, TheFlagComesBackOnTheTickAfterTheDriverLeft) {
    Session s = FarCar("ClearLawFlag=1\nLawFlagMaxMs=60000\n");
    PlayerLeaves(s);
    s.RunTo(4000);
    ASSERT_FALSE(s.Car("pc").m_bIsLawEnforcer);
    s.World().UnseatPed(s.Ped("pc-driver"));
    s.RunTo(4050);
    EXPECT_TRUE(s.Car("pc").m_bIsLawEnforcer);
    EXPECT_EQ(s.Count("law-enforcer flag restored: veh=*"), 1);
}

TEST(LawFlagTest, ARemovedCarIsForgottenWithoutRestoringOrCountingIt) {
    Session s = FarCar("ClearLawFlag=1\nLawFlagMaxMs=5000\n");
    PlayerLeaves(s);
    s.RunTo(3450);
    ASSERT_FALSE(s.Car("pc").m_bIsLawEnforcer);
    s.RunTo(4100);  // the counter check at 4100 still counts the car the plugin owes its flag
    EXPECT_EQ(s.Count("cop car counter: game counter=1, real law-enforcer cars=1"), 1);
    ASSERT_TRUE(s.World().Remove("pc"));
    s.RunTo(9000);
    EXPECT_EQ(s.Count("law-enforcer flag restored: veh=*"), 0);
    // The host counted the car as a law enforcer and did not count it out: the counter is healed.
    EXPECT_EQ(s.Count("cop car counter: game counter=1, real law-enforcer cars=0"), 1);
    EXPECT_EQ(s.Count("cop car counter was too high (1 > 0): lowered, cop cars can spawn again"), 1);
    EXPECT_EQ(CCarCtrl::NumLawEnforcerCars, 0u);
}

TEST(CopCarCounterTest, WithoutHealingTheCounterIsOnlyLoggedWhenThePairChanges) {
    Session s({{"pc", 0, -190}}, "HealCopCounter=0\n");
    CCarCtrl::NumLawEnforcerCars = 9;
    s.RunTo(2000);
    EXPECT_EQ(s.Count("cop car counter:*"), 0);  // the first check comes once the clock reaches 2001
    s.RunTo(8500);
    EXPECT_EQ(s.Count("cop car counter: game counter=9, real law-enforcer cars=1"), 1);
    EXPECT_EQ(s.Count("cop car counter was too high*"), 0);
    EXPECT_EQ(CCarCtrl::NumLawEnforcerCars, 9u);
}

TEST(ParkedCarTest, HostMissionsOnAParkedCarAreUndoneEveryFrameAndLoggedEvery3001Ms) {
    Session s({{"pc", 0, -30}});
    PlayerLeaves(s);
    s.RunTo(8000);
    ASSERT_EQ(s.Count("car unloaded its cops: veh=*"), 1);
    for (int i = 0; i < 70; ++i) {  // 3500 ms of a host that insists
        s.Car("pc").m_autoPilot.m_nCarMission = 5;
        s.Car("pc").m_autoPilot.m_nCruiseSpeed = 20;
        s.Frame(50);
        ASSERT_EQ(s.Car("pc").m_autoPilot.m_nCarMission, 0);
        ASSERT_EQ(s.Car("pc").m_autoPilot.m_nCruiseSpeed, 0);
    }
    EXPECT_EQ(s.Count("parked car had mission 5, forced back to MISSION_NONE: veh=*"), 2);
}

}  // namespace
