// What the replay says of a vehicle: parked by the plugin's word, chasing, driving or standing,
// and the points a helicopter was last sent to.

#include <gtest/gtest.h>

#include "replay/vehicle_sample.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace {

TEST(VehicleSampleTest, StateComesFromTheHostAndThePluginsWord) {
    const sandbox::Scenario scenario = sandbox::ParseScenario(
        R"({ "durationMs": 1000, "player": { "pos": [0, 0, 0], "wanted": 2 },
             "vehicles": [ { "id": "pc", "model": 596, "pos": [0, -40, 0] } ] })",
        "sample.json");
    sandbox::World world(sandbox::ScenarioWorld(scenario));
    sandbox::Vehicle& car = *world.FindVehicle("pc");
    EXPECT_STREQ(sandbox::VehicleActivity(car, false), "stopped");
    car.hasTarget = true;
    car.target = {0, 0, 0};
    car.m_autoPilot.m_nCarMission = 8;
    EXPECT_STREQ(sandbox::VehicleActivity(car, false), "stopped");  // a target, but standing
    car.m_vecMoveSpeed = {0, 10, 0};
    EXPECT_STREQ(sandbox::VehicleActivity(car, false), "driving");
    car.m_autoPilot.m_nCarMission = 4;
    EXPECT_STREQ(sandbox::VehicleActivity(car, false), "chasing");
    EXPECT_STREQ(sandbox::VehicleActivity(car, true), "parked");
}

TEST(VehicleSampleTest, HelicoptersKeepTheirLatestSweepPointsAsTheJournalGrows) {
    const sandbox::Scenario scenario = sandbox::ParseScenario(
        R"({ "durationMs": 1000, "player": { "pos": [0, 0, 0] },
             "vehicles": [ { "id": "heli", "model": 497, "pos": [0, -80, 20] } ] })",
        "sample.json");
    sandbox::World world(sandbox::ScenarioWorld(scenario));
    sandbox::HeliSweeps sweeps;
    sweeps.Note(world);
    EXPECT_EQ(sweeps.Of("heli"), nullptr);
    world.Journal().RecordHostCall({100, 0x6A2390, "heli", {1, 2, 40, 31, 55}});
    world.Journal().RecordHostCall({200, 0x6A2390, "pc", {9, 9, 9, 9, 9}});
    sweeps.Note(world);
    for (int i = 0; i < 7; ++i)
        world.Journal().RecordHostCall({300, 0x6A2390, "heli", {float(i), 4, 40, 31, 55}});
    sweeps.Note(world);
    sweeps.Note(world);  // nothing new: nothing taken twice
    const auto* points = sweeps.Of("heli");
    ASSERT_NE(points, nullptr);
    ASSERT_EQ(points->size(), sandbox::HeliSweeps::kShown);
    EXPECT_EQ(points->front()[0], 1.0f);  // the oldest two have gone
    EXPECT_EQ(points->back()[0], 6.0f);
    EXPECT_EQ(sweeps.Of("pc")->size(), 1u);
}

}  // namespace
