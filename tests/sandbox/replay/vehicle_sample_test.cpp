// What the replay says of a vehicle: parked by the plugin's word, chasing, driving or standing.

#include <gtest/gtest.h>

#include "replay/log_state.h"
#include "replay/vehicle_sample.h"
#include "scenario/scenario_loader.h"
#include "world/world.h"

namespace {

TEST(VehicleSampleTest, StateComesFromTheHostAndTheStopLineAndHelicoptersShowTheirSweeps) {
    const sandbox::Scenario scenario = sandbox::ParseScenario(
        R"({ "durationMs": 1000, "player": { "pos": [0, 0, 0], "wanted": 2 },
             "vehicles": [ { "id": "pc", "model": 596, "pos": [0, -40, 0] },
                           { "id": "heli", "model": 497, "pos": [0, -80, 20] } ] })",
        "sample.json");
    sandbox::World world(scenario);
    sandbox::Vehicle& car = *world.FindVehicle("pc");
    sandbox::LogState log;
    EXPECT_EQ(sandbox::VehicleSample(world, car, "0x28000000", log)["state"], "stopped");
    EXPECT_TRUE(sandbox::VehicleSample(world, car, "0x28000000", log)["target"].is_null());
    car.hasTarget = true;
    car.target = {0, 0, 0};
    car.m_autoPilot.m_nCarMission = 8;
    car.m_vecMoveSpeed = {0, 10, 0};
    const auto driving = sandbox::VehicleSample(world, car, "0x28000000", log);
    EXPECT_EQ(driving["state"], "driving");
    EXPECT_EQ(driving["target"], (nlohmann::json{0, 0, 0}));
    car.m_autoPilot.m_nCarMission = 4;
    EXPECT_EQ(sandbox::VehicleSample(world, car, "0x28000000", log)["state"], "chasing");
    log.Read("car stopped: veh=0x28000000 arrived=1 nearPlayer=0 stuck=0 halted=0 targetDist=13.5 playerDist=60.0", {});
    EXPECT_EQ(sandbox::VehicleSample(world, car, "0x28000000", log)["state"], "parked");
    log.Read("wanted level ended", {});
    EXPECT_EQ(sandbox::VehicleSample(world, car, "0x28000000", log)["state"], "chasing");

    sandbox::Vehicle& heli = *world.FindVehicle("heli");
    world.Journal().RecordHostCall({100, 0x6A2390, "heli", {1, 2, 40, 31, 55}});
    world.Journal().RecordHostCall({200, 0x6A2390, "pc", {9, 9, 9, 9, 9}});
    world.Journal().RecordHostCall({300, 0x6A2390, "heli", {3, 4, 40, 31, 55}});
    EXPECT_EQ(sandbox::VehicleSample(world, heli, "0x28000100", log)["sweeps"],
              (nlohmann::json{{1, 2, 40}, {3, 4, 40}}));
}

}  // namespace
