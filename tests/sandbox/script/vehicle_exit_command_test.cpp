// Script command 0x0633: getting out takes a while of task 704 (a second unless the scenario says
// otherwise), then the ped stands beside his car.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/running_script.h"
#include "pools/host_tasks.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "support/host_world.h"
#include "world/world.h"

namespace {

class VehicleExitTest : public ::testing::Test {
protected:
    VehicleExitTest()
        : scenario_(sandbox::ParseScenario(
              R"({ "durationMs": 1000, "player": { "pos": [50, 50, 0] }, "host": { "pursuit": false },
                   "vehicles": [ { "id": "car", "model": 596, "pos": [10, 0, 0], "heading": 0 },
                                 { "id": "van", "model": 596, "pos": [30, 0, 0], "leaveMs": 2500 } ],
                   "peds": [ { "id": "cop", "type": 6, "pos": [10, 0, 0], "vehicle": "car", "seat": "driver" },
                             { "id": "slow", "type": 6, "pos": [30, 0, 0], "vehicle": "van", "seat": "driver" },
                             { "id": "quick", "type": 6, "pos": [30, 0, 0], "vehicle": "van", "seat": 0,
                               "leaveMs": 300 },
                             { "id": "walker", "type": 6, "pos": [0, 0, 0] } ] })",
              "exit.json")),
          world_(sandbox::ScenarioWorld(scenario_)) {}

    void LeaveVehicle(const char* id) {
        const std::int32_t handle = world_.Peds().HandleOf(world_.FindPed(id));
        std::vector<std::uint8_t> code = {0x33, 0x06, 1};
        code.resize(7);
        std::memcpy(code.data() + 3, &handle, sizeof handle);
        CRunningScript script{};
        script.Init();
        script.m_pBaseIP = script.m_pCurrentIP = code.data();
        script.m_pEndIP = code.data() + code.size();
        script.ProcessOneCommand();
    }
    void RunFor(std::uint32_t ms) { testing_support::RunHostFrames(world_, ms, scenario_.host.pursuit); }

    sandbox::Scenario scenario_;
    sandbox::World world_;
};

TEST_F(VehicleExitTest, GettingOutTakesASecondAndEndsBesideTheCar) {
    sandbox::Ped& cop = *world_.FindPed("cop");
    LeaveVehicle("cop");
    EXPECT_TRUE(cop.HasTask(sandbox::kTaskLeaveVehicle));
    RunFor(500);
    LeaveVehicle("cop");  // asked again while getting out: the exit is not started over
    RunFor(450);
    EXPECT_TRUE(cop.m_bInVehicle);
    RunFor(50);
    EXPECT_FALSE(cop.m_bInVehicle);
    EXPECT_FALSE(cop.HasTask(sandbox::kTaskLeaveVehicle));
    EXPECT_EQ(world_.FindVehicle("car")->m_pDriver, nullptr);
    EXPECT_NEAR(cop.Position().x, 8.0f, 0.001f);
    EXPECT_NEAR(cop.Position().y, 0.0f, 0.001f);
}

TEST_F(VehicleExitTest, TheExitTakesAsLongAsThePedOrElseHisVehicleSays) {
    LeaveVehicle("slow");
    LeaveVehicle("quick");
    RunFor(300);
    EXPECT_FALSE(world_.FindPed("quick")->m_bInVehicle);
    RunFor(2150);
    EXPECT_TRUE(world_.FindPed("slow")->m_bInVehicle);  // still getting out when a 1500 ms re-order falls due
    RunFor(50);
    EXPECT_FALSE(world_.FindPed("slow")->m_bInVehicle);
}

TEST_F(VehicleExitTest, AFlushCancelsTheExitAndAPedOnFootIsLeftAlone) {
    sandbox::Ped& cop = *world_.FindPed("cop");
    LeaveVehicle("cop");
    cop.m_pIntelligence->FlushImmediately(true);
    RunFor(2000);
    EXPECT_TRUE(cop.m_bInVehicle);
    LeaveVehicle("walker");
    EXPECT_FALSE(world_.FindPed("walker")->HasTask(sandbox::kTaskLeaveVehicle));
    EXPECT_EQ(world_.Journal().Count(0x0633), 2);
}

}  // namespace
