// Every host movement order takes any float: a target far beyond the map, infinite or not a number
// leaves peds and vehicles at finite places, and routes are never read out of bounds.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/code.h"
#include "host/scripting.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "support/host_world.h"
#include "world/world.h"

namespace {

using plugin::scripting::CallCommandById;
using sandbox::Vec3;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

bool Finite(Vec3 p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

class FarTargetTest : public ::testing::Test {
protected:
    FarTargetTest()
        : scenario_(sandbox::ParseScenario(
              R"({ "durationMs": 1000, "player": { "pos": [60, 60, 0] }, "host": { "pursuit": false },
                   "world": { "pedNodes": { "spacing": 10 },
                              "boxes": [ { "min": [-20, 5, 0], "max": [20, 8, 10] } ] },
                   "vehicles": [ { "id": "car", "model": 596, "pos": [30, -30, 0] },
                                 { "id": "heli", "model": 497, "pos": [-30, -30, 40] } ],
                   "peds": [ { "id": "walker", "type": 6, "pos": [0, -10, 0] },
                             { "id": "driver", "type": 6, "pos": [30, -30, 0], "vehicle": "car",
                               "seat": "driver" } ] })",
              "far.json")),
          world_(sandbox::ScenarioWorld(scenario_)) {}

    int Handle(const char* id) { return world_.Peds().HandleOf(world_.FindPed(id)); }
    Vec3 Walker() { return world_.FindPed("walker")->Position(); }
    void RunFor(std::uint32_t ms) { testing_support::RunHostFrames(world_, ms, scenario_.host.pursuit); }

    sandbox::Scenario scenario_;
    sandbox::World world_;
};

// Targets with no place on the map: the walker stands where he is, whichever way he is sent.
TEST_F(FarTargetTest, NonFiniteWalkTargetsLeaveTheWalkerStanding) {
    for (const Vec3 to :
         {Vec3{kNaN, 0, 0}, Vec3{0, kNaN, 0}, Vec3{kInf, 0, 0}, Vec3{0, -kInf, 0}, Vec3{kInf, kInf, 0}}) {
        for (const unsigned command : {0x05F5u, 0x05D3u}) {
            const Vec3 before = Walker();
            EXPECT_TRUE(CallCommandById(command, Handle("walker"), to.x, to.y, to.z, 6, 5000));
            RunFor(500);
            EXPECT_EQ(Walker(), before) << std::hex << command << " to " << to.x << "," << to.y;
        }
    }
}

// A finite target so far that squared distances overflow floats has no closest node: the walker
// goes straight, and the direction survives coordinates whose differences overflow too.
TEST_F(FarTargetTest, FarWalkTargetsAreWalkedStraightAt) {
    EXPECT_TRUE(CallCommandById(0x05F5u, Handle("walker"), 1e20f, 0.0f, 0.0f, 6, -1));
    const sandbox::Ped& walker = *world_.FindPed("walker");
    ASSERT_EQ(walker.move.waypoints.size(), 1u);
    EXPECT_EQ(walker.move.waypoints[0], (Vec3{1e20f, 0, 0}));
    RunFor(1000);
    EXPECT_TRUE(Finite(Walker()));
    EXPECT_NEAR(Walker().x, 5.5f, 0.01f);
    EXPECT_EQ(Walker().y, -10.0f);

    EXPECT_TRUE(CallCommandById(0x05D3u, Handle("walker"), -3e38f, -3e38f, 0.0f, 6, 5000));
    const Vec3 before = Walker();
    RunFor(1000);
    const Vec3 after = Walker();
    ASSERT_TRUE(Finite(after));
    EXPECT_NEAR(after.x - before.x, after.y - before.y, 0.01f);
    EXPECT_LT(after.x, before.x - 1.0f);
}

TEST_F(FarTargetTest, ClosestNodeQueryFindsNoneForNonFiniteOrOverflowingPoints) {
    float x = 0, y = 0, z = 0;
    for (const float bad : {kNaN, kInf, -kInf, 1e30f}) {
        EXPECT_FALSE(CallCommandById(0x02C0u, bad, 0.0f, 0.0f, &x, &y, &z));
        EXPECT_EQ(x, 0.0f);
        EXPECT_EQ(y, 0.0f);
    }
    // Far, but within float range: the node at the near corner of the grid.
    EXPECT_TRUE(CallCommandById(0x02C0u, -1e6f, -1e6f, 0.0f, &x, &y, &z));
    EXPECT_EQ(x, -90.0f);
    EXPECT_EQ(y, -90.0f);
}

TEST_F(FarTargetTest, CarsAndHelicoptersStayFiniteWhateverTheyAreSentTo) {
    sandbox::Vehicle& car = *world_.FindVehicle("car");
    sandbox::Vehicle& heli = *world_.FindVehicle("heli");
    for (const Vec3 to :
         {Vec3{kNaN, kNaN, kNaN}, Vec3{kInf, 0, 0}, Vec3{1e20f, -1e20f, 0}, Vec3{-3e38f, 3e38f, 0}}) {
        EXPECT_TRUE(CallCommandById(0x05D1u, Handle("driver"), world_.Vehicles().HandleOf(&car), to.x, to.y,
                                    to.z, 20.0f, 0, 0, 2));
        plugin::CallMethod<0x6A2390>(static_cast<CVehicle*>(&heli), to.x, to.y, to.z, 30.0f, 50.0f);
        RunFor(1000);
        EXPECT_TRUE(Finite(car.Position())) << to.x;
        EXPECT_TRUE(Finite(heli.Position())) << to.x;
        EXPECT_TRUE(std::isfinite(car.m_fHeading));
        EXPECT_TRUE(std::isfinite(heli.m_fHeading));
    }
    // A cruise speed that is not a number stops the car instead of reaching an undefined conversion.
    EXPECT_TRUE(CallCommandById(0x05D1u, Handle("driver"), world_.Vehicles().HandleOf(&car), 0.0f, 0.0f, 0.0f,
                                kNaN, 0, 0, 2));
    EXPECT_EQ(car.m_autoPilot.m_nCruiseSpeed, 0);
}

TEST_F(FarTargetTest, AimingAtAPointThatIsNotANumberKeepsTheHeading) {
    sandbox::Ped& walker = *world_.FindPed("walker");
    walker.m_fHeading = 1.0f;
    EXPECT_TRUE(CallCommandById(0x0667u, Handle("walker"), kNaN, 0.0f, 0.0f, 2000));
    RunFor(200);
    EXPECT_EQ(walker.m_fHeading, 1.0f);
    EXPECT_TRUE(CallCommandById(0x0667u, Handle("walker"), -kInf, 0.0f, 0.0f, 2000));
    RunFor(200);
    EXPECT_NEAR(walker.m_fHeading, std::acos(0.0f), 1e-5f);  // faces -x
}

}  // namespace
