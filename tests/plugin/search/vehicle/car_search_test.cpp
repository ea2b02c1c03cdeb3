// The car search: when a car stops (arrived, near the player, stuck, halted), re-orders, tracking.

#include <gtest/gtest.h>

#include <cmath>

#include "plugin/search/vehicle/car_scene.h"

namespace {

using car_test::Car;
using car_test::Session;

// The player steps aside at once, so the car drives to the empty scene at the origin unseen
// (he stays within 200 m, so its driver stays listed).
void PlayerLeaves(Session& s) {
    s.Frame(50);
    s.World().Player()->SetPosition({-60, 0, 0});
}

TEST(CarStopTest, ArrivesWithinTheGreaterOfTheUnloadAndArriveDistances) {
    for (const auto& [settings, limit] :
         {std::pair{std::string(), 15.0f}, {"VehicleArriveDist=20\n", 20.0f}}) {
        Session s({{"pc", 0, -40}}, settings);
        PlayerLeaves(s);
        s.RunTo(9000);
        const float dist = s.StopTargetDist();
        EXPECT_LT(dist, limit) << settings;
        EXPECT_GT(dist, limit - 2.0f) << settings;  // a tick covers 1.5 m at 10 m/s
        EXPECT_NE(s.StopLine().find("arrived=1 nearPlayer=0 stuck=0 halted=0"), std::string::npos);
    }
}

TEST(CarStopTest, NearThePlayerCountsOnlyWhileTracking) {
    // The player stays at the scene: the untracked car passes within 25 m of him and stops on arrival.
    {
        Session s({{"pc", 0, -60}});
        s.RunTo(12000);
        EXPECT_NE(s.StopLine().find("arrived=1 nearPlayer=0"), std::string::npos) << s.StopLine();
    }
    Session tracking({{"pc", 0, -60}}, "VehicleTracksPlayer=1\nTrackError=0\n");
    tracking.RunTo(12000);
    EXPECT_NE(tracking.StopLine().find("arrived=0 nearPlayer=1"), std::string::npos) << tracking.StopLine();
}

TEST(CarStopTest, StandingStillCountsOnlyFrom4001MsAfterTheOrder) {
    // A wall right in front: the car never moves after its order at 3300.
    Session blocked({{"pc", 0, -40}});
    blocked.World().Geometry().AddBox({"wall", {-10, -37.5f, 0}, {10, -37, 5}});
    PlayerLeaves(blocked);
    blocked.RunTo(9850);  // standing since the tick at 7350: 2500 ms is not yet more than VehicleHaltMs
    EXPECT_TRUE(blocked.StopLine().empty()) << blocked.StopLine();
    blocked.RunTo(9900);
    EXPECT_NE(blocked.StopLine().find("arrived=0 nearPlayer=0 stuck=0 halted=1"), std::string::npos)
        << blocked.StopLine();
}

TEST(CarStopTest, TheHaltGraceRunsFromTheOrderNotFromTheLastProgress) {
    // A wall 12 m ahead: the car gains ground until about 4600, then stands.
    Session s({{"pc", 0, -60}});
    s.World().Geometry().AddBox({"wall", {-10, -45.5f, 0}, {10, -45, 5}});
    PlayerLeaves(s);
    s.RunTo(9850);
    EXPECT_TRUE(s.StopLine().empty()) << s.StopLine();
    s.RunTo(9900);  // standing counted from 7350, as for a car that never moved
    EXPECT_NE(s.StopLine().find("arrived=0 nearPlayer=0 stuck=0 halted=1"), std::string::npos)
        << s.StopLine();
}

TEST(CarStopTest, CreepingForwardByLessThan5MetresIsStuck) {
    {
        Session s({{"pc", 0, -100}}, "VehicleSpeed=1\nVehicleStuckMs=3000\n");  // 0.4 m/s
        PlayerLeaves(s);
        s.RunTo(6400);
        EXPECT_TRUE(s.StopLine().empty());
        s.RunTo(6450);
        EXPECT_NE(s.StopLine().find("arrived=0 nearPlayer=0 stuck=1 halted=0"), std::string::npos)
            << s.StopLine();
    }
    // A car that keeps gaining more than 5 m is never stuck.
    Session fast({{"pc", 0, -150}}, "VehicleStuckMs=3000\n");
    PlayerLeaves(fast);
    fast.RunTo(18000);
    EXPECT_NE(fast.StopLine().find("arrived=1 nearPlayer=0 stuck=0"), std::string::npos) << fast.StopLine();
}

TEST(CarStopTest, TheStopParksTheCarClearsItsFlagAndOrdersOnlyCopsOut) {
    const std::string passengers =
        R"({ "id": "walker", "type": 4, "pos": [0, -40, 0], "vehicle": "pc", "seat": 0 },
           { "id": "leaving", "type": 6, "pos": [0, -40, 0], "vehicle": "pc", "seat": 1 })";
    Session s({{"pc", 0, -40}}, "", passengers);
    PlayerLeaves(s);
    s.RunFor(3000);
    s.Ped("leaving").AddTask(704, 0);  // already getting out: no second order
    s.RunTo(9000);
    ASSERT_FALSE(s.StopLine().empty());
    EXPECT_EQ(s.Count("car unloaded its cops: veh=*"), 1);
    EXPECT_EQ(s.World().Journal().Count(0x0633), 1);  // the driver only
    EXPECT_EQ(s.Car("pc").m_autoPilot.m_nCarMission, 0);
    EXPECT_EQ(s.Car("pc").m_autoPilot.m_nCruiseSpeed, 0);
    EXPECT_EQ(s.Ped("walker").m_nPursuitSuppressed, 0);
    EXPECT_EQ(s.Ped("leaving").m_nPursuitSuppressed, 1);
}

TEST(CarOrderTest, TheSceneMayMove25MetresBeforeTheCarIsOrderedAgain) {
    // A cop on foot sees the player wherever he is put in front of him and moves the scene there.
    Session s({{"pc", 0, -150}}, "FootSearch=0\n", awareness_test::Cop("watcher", 25, -40, 0, 0));
    s.RunTo(4000);
    ASSERT_EQ(s.Orders(), 1);
    s.World().Player()->SetPosition({25.0f, 0, 0});
    s.RunFor(600);
    EXPECT_EQ(s.Orders(), 1);
    s.World().Player()->SetPosition({25.1f, 0, 0});
    s.RunFor(300);
    EXPECT_EQ(s.Orders(), 2);
    EXPECT_EQ(s.Count("car ordered to target: veh=*"), 2);
}

TEST(CarOrderTest, TrackingCarsShareOneOffsetAndModel430NeverSearches) {
    Session s({{"a", -60, -60, 135}, {"b", 60, -60, 225}, {"odd", 0, -80, 180, 430}},
              "VehicleTracksPlayer=1\nTrackError=10\n");
    s.RunTo(3300);
    std::vector<std::pair<float, float>> targets;
    for (const auto& call : s.World().Journal().Calls()) {
        if (call.command == 0x05D1) targets.emplace_back(call.args[2].f, call.args[3].f);
    }
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0], targets[1]);
    EXPECT_LE(std::hypot(targets[0].first, targets[0].second), 10.0f);
    EXPECT_EQ(s.Count("car ordered to target: veh=* track=1 *"), 2);
}

// The stop line of the tick after the order, with the car put standing at (0, y) just before it.
std::string StopLineWithCarAt(const std::string& settings, float y) {
    Session s({{"pc", 0, -60}}, "VehicleSightRange=1\n" + settings);
    EXPECT_TRUE(s.RunUntil("car ordered to target: *"));
    s.TickAfter(150, [&] {
        s.Car("pc").SetPosition({0, y, 0});
        s.Car("pc").m_autoPilot.m_nCruiseSpeed = 0;
    });
    return s.StopLine();
}

TEST(CarStopTest, ArrivalAndTheTrackedPlayerCountOnlyStrictlyWithinTheirDistances) {
    const std::string tracking = "VehicleTracksPlayer=1\nTrackError=0\n";
    const struct {
        std::string settings;
        float y;
        const char* stop;  // empty: no stop
    } rows[] = {
        {"", -15.0f, ""},       {"", -14.99f, "arrived=1 nearPlayer=0"},       {"", -15.01f, ""},
        {tracking, -25.0f, ""}, {tracking, -24.99f, "arrived=0 nearPlayer=1"}, {tracking, -25.01f, ""}};
    for (const auto& row : rows) {
        const std::string line = StopLineWithCarAt(row.settings, row.y);
        if (*row.stop == '\0') {
            EXPECT_EQ(line, "") << row.settings << row.y;
        } else {
            EXPECT_NE(line.find(row.stop), std::string::npos) << row.settings << row.y << ": " << line;
        }
    }
}

// Standing still stops the car once more than VehicleHaltMs have passed since the first tick it
// stood (4050 ms after its order), also with the clock wrapping.
TEST(CarStopTest, StandingStillStopsTheCarOnlyPastVehicleHaltMs) {
    awareness_test::ExpectTimeLimit(
        [](std::uint32_t start, int shift, std::uint32_t* haltAt) {
            awareness_test::Session s(
                awareness_test::ClockStart(start) + car_test::Fragment({{"pc", 0, -40}}),
                "VehicleSightRange=1\nVehicleHaltMs=" + std::to_string(2550 - shift) + "\n");
            s.World().Geometry().AddBox({"wall", {-10, -37.5f, 0}, {10, -37, 5}});
            EXPECT_TRUE(s.RunUntil("car ordered to target: *"));
            s.TickAfter(4050);
            if (haltAt != nullptr) *haltAt = s.World().Now();
            s.TickAfter(2550);
            return s.Count("car stopped: * halted=1 *") == 1;
        },
        {false, false, true});
}

}  // namespace
