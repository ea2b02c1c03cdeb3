// The host's own police vehicles: chase missions, taking cars back, the helicopter chase, standing down.

#include <gtest/gtest.h>

#include "police/police_vehicles.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "support/host_world.h"
#include "world/world.h"

namespace {

class PoliceVehiclesTest : public ::testing::Test {
protected:
    PoliceVehiclesTest()
        : scenario_(sandbox::ParseScenario(
              R"({ "durationMs": 1000, "seed": 5, "player": { "pos": [0, 0, 0], "wanted": 2 },
                   "peds": [ { "id": "driver", "type": 6, "pos": [0, -60, 0], "vehicle": "pc", "seat": "driver" },
                             { "id": "pilot", "type": 6, "pos": [0, -80, 0], "vehicle": "heli", "seat": "driver" } ],
                   "vehicles": [ { "id": "pc", "model": 596, "pos": [0, -60, 0], "lawEnforcer": true },
                                 { "id": "heli", "model": 497, "pos": [0, -80, 0], "lawEnforcer": true },
                                 { "id": "empty", "model": 596, "pos": [40, 0, 0], "lawEnforcer": true },
                                 { "id": "taxi", "model": 420, "pos": [-40, 0, 0] } ] })",
              "vehicles.json")),
          world_(sandbox::ScenarioWorld(scenario_)) {}

    void RunFor(std::uint32_t ms) { testing_support::RunHostFrames(world_, ms); }
    sandbox::Vehicle& V(const char* id) { return *world_.FindVehicle(id); }

    sandbox::Scenario scenario_;
    sandbox::World world_;
};

TEST_F(PoliceVehiclesTest, APursuingDriverTakesHisCarAfterThePlayerAndThePilotHisHelicopter) {
    RunFor(3000);
    EXPECT_EQ(V("pc").m_autoPilot.m_nCarMission, 4);
    EXPECT_GT(V("pc").Position().y, -40.0f);  // 12 m/s, slowing near him
    EXPECT_EQ(V("heli").m_autoPilot.m_nCarMission, 40);
    EXPECT_GT(V("heli").Position().y, -30.0f);
    EXPECT_EQ(V("taxi").m_autoPilot.m_nCarMission, 0);
    world_.FindPed("driver")->m_nPursuitSuppressed = 1;
    V("pc").m_autoPilot.m_nCarMission = 8;  // the plugin's go-to: the host takes it back only now and then
    RunFor(50);
    EXPECT_EQ(V("pc").m_autoPilot.m_nCarMission, 8);
}

TEST_F(PoliceVehiclesTest, LawEnforcerCarsNearThePlayerAreTakenBackNowAndThen) {
    world_.FindPed("driver")->m_nPursuitSuppressed = 1;
    int retaken = 0;
    for (int i = 0; i < 40; ++i) {  // 40 times 2 s: about ten take-backs
        V("pc").m_autoPilot.m_nCarMission = 0;
        V("empty").m_autoPilot.m_nCarMission = 0;
        RunFor(2000);
        retaken += V("empty").m_autoPilot.m_nCarMission == 4 ? 1 : 0;
    }
    EXPECT_GE(retaken, 3);
    EXPECT_LE(retaken, 30);
    EXPECT_EQ(V("taxi").m_autoPilot.m_nCarMission, 0);  // not a law enforcer
    EXPECT_EQ(V("empty").Position().x, 40.0f);          // nobody drives it
}

TEST_F(PoliceVehiclesTest, WithoutAWantedPlayerEveryoneStandsDown) {
    RunFor(500);
    world_.Wanted().m_nWantedLevel = 0;
    RunFor(100);
    EXPECT_EQ(V("pc").m_autoPilot.m_nCarMission, 0);
    EXPECT_EQ(V("heli").m_autoPilot.m_nCarMission, 0);
    const float y = V("pc").Position().y;
    RunFor(500);
    EXPECT_EQ(V("pc").Position().y, y);
}

}  // namespace
