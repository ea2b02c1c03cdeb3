// The helicopter search: first order at the scene, heights, cadence, and the hand-back.

#include <gtest/gtest.h>

#include <cmath>

#include "plugin/search/vehicle/car_scene.h"

namespace {

using car_test::Car;
using car_test::Session;

std::vector<sandbox::HostCall> HeliOrders(Session& s) {
    std::vector<sandbox::HostCall> orders;
    for (const auto& call : s.World().Journal().HostCalls()) {
        if (call.address == 0x6A2390) orders.push_back(call);
    }
    return orders;
}

// A helicopter 150 m south of the scene, too far to see the player.
Session Heli(const std::string& settings = "") { return Session({Car{"heli", 0, -150, 180, 497}}, settings); }

TEST(HeliSearchTest, TheFirstOrderGoesToTheSceneAtThreeHeightsAboveItsGround) {
    Session s = Heli("HeliAltitude=30\n");
    s.World().Geometry().AddBox({"roof", {-5, -5, 0}, {5, 5, 10}});
    s.RunTo(3300);
    const auto orders = HeliOrders(s);
    ASSERT_EQ(orders.size(), 1u);
    const std::vector<float> expected{0, 0, 40, 31, 55};
    ASSERT_EQ(orders[0].args.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_FLOAT_EQ(orders[0].args[i], expected[i]) << i;
    EXPECT_EQ(s.Count("helicopter sweep: veh=* target=0.0,0.0 ground=10.0"), 1);
    EXPECT_EQ(s.Count("helicopter order given: veh=*"), 1);
    EXPECT_EQ(s.Orders(), 0);  // never the car search
}

TEST(HeliSearchTest, WithoutGroundTheSceneHeightIsTheBase) {
    Session s = Heli("HeliAltitude=30\n");
    s.World().Geometry().holes.push_back({-500, -500, 500, 500});
    s.World().Player()->SetPosition({0, 0, 3});  // the scene is taken from him on the first frame
    s.RunTo(3300);
    const auto orders = HeliOrders(s);
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].args[2], 33.0f);
    EXPECT_EQ(s.Count("helicopter sweep: veh=* target=0.0,0.0 ground=3.0"), 1);
}

TEST(HeliSearchTest, SweepsFollowEvery6000To9999MsWithinTheSearchRadius) {
    Session s = Heli("SearchRadius=30\n");
    s.Frame(50);                                    // the scene is set at the origin
    s.World().Player()->SetPosition({-120, 0, 0});  // out of the helicopter's sight for good
    s.RunTo(60000);
    const auto orders = HeliOrders(s);
    ASSERT_GE(orders.size(), 6u);
    for (std::size_t i = 1; i < orders.size(); ++i) {
        const std::uint32_t gap = orders[i].time - orders[i - 1].time;
        EXPECT_GE(gap, 6000u);
        EXPECT_LT(gap, 10000u + 150u);  // the next tick after the drawn time
        EXPECT_LE(std::hypot(orders[i].args[0], orders[i].args[1]), 30.0f + 0.01f);
    }
}

TEST(HeliSearchTest, ThePilotSeeingThePlayerHandsTheHelicopterBackAndTheNextLossStartsAtTheScene) {
    Session s = Heli("HeliSightAngle=360\n");
    s.RunTo(3300);
    ASSERT_EQ(HeliOrders(s).size(), 1u);
    const sandbox::Vec3 heli = s.Car("heli").Position();
    s.World().Player()->SetPosition({heli.x, heli.y, 0});  // right under him: the scene moves there
    s.RunFor(150);
    EXPECT_EQ(s.Count("helicopter chasing again: veh=*"), 1);
    EXPECT_EQ(s.Car("heli").m_autoPilot.m_nCarMission, 40);
    s.World().Player()->SetPosition({heli.x - 100, heli.y, 0});  // gone again, still within 200 m
    s.RunFor(3600);
    const auto orders = HeliOrders(s);
    ASSERT_EQ(orders.size(), 2u);
    EXPECT_FLOAT_EQ(orders[1].args[0], heli.x);
    EXPECT_FLOAT_EQ(orders[1].args[1], heli.y);
}

}  // namespace
