// The host's own police: who chases, who is only re-listed now and then, and standing down.

#include <gtest/gtest.h>

#include <algorithm>

#include "pools/host_tasks.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "support/host_world.h"
#include "world/world.h"

namespace {

class HostPoliceTest : public ::testing::Test {
protected:
    HostPoliceTest()
        : scenario_(sandbox::ParseScenario(
              R"({ "durationMs": 1000, "seed": 3, "player": { "pos": [0, 0, 0], "wanted": 2 },
                   "peds": [ { "id": "near", "type": 6, "pos": [0, -20, 0] },
                             { "id": "far", "type": 6, "pos": [0, -80, 0] },
                             { "id": "walker", "type": 4, "pos": [5, -5, 0] } ] })",
              "police.json")),
          world_(sandbox::ScenarioWorld(scenario_)) {}

    // Host frames of 50 ms; the plugin's scrub is played by `afterFrame`.
    void RunFor(std::uint32_t ms, const std::function<void()>& afterFrame = {}) {
        testing_support::RunHostFrames(world_, ms, true, afterFrame);
    }
    sandbox::Ped& Ped(const char* id) { return *world_.FindPed(id); }
    bool Listed(const char* id) { return Ped(id).HasCriminal(world_.Player()); }
    bool Pursuing(const char* id) {
        return Ped(id).HasTask(sandbox::kTaskPursuitOnFoot) ||
               Ped(id).HasTask(sandbox::kTaskPursuitInVehicle);
    }

    sandbox::Scenario scenario_;
    sandbox::World world_;
};

TEST_F(HostPoliceTest, CopsInThePursuitRunAtThePlayerAndStopShort) {
    RunFor(1000);
    EXPECT_NEAR(Ped("near").Position().y, -15.0f, 0.01f);
    EXPECT_TRUE(Listed("near"));
    EXPECT_TRUE(Ped("near").HasTask(sandbox::kTaskPursuitOnFoot));
    EXPECT_EQ(Ped("walker").Position().y, -5.0f);  // not a cop
    RunFor(10000);
    EXPECT_NEAR(Ped("near").Position().y, -3.0f, 0.01f);
}

TEST_F(HostPoliceTest, HeldOutCopsStandButAreReListedNowAndThenNearby) {
    Ped("near").m_nPursuitSuppressed = 1;
    Ped("far").m_nPursuitSuppressed = 1;
    int relisted = 0;
    int tasked = 0;
    RunFor(60000, [&] {
        relisted += Listed("near") ? 1 : 0;
        tasked += Pursuing("near") ? 1 : 0;
        EXPECT_FALSE(Listed("far"));
        // What the plugin does each frame to a cop it holds as lost.
        std::fill(std::begin(Ped("near").m_apCriminalsToKill), std::end(Ped("near").m_apCriminalsToKill),
                  nullptr);
        Ped("near").tasks.clear();
    });
    // On average once every 5 s: about 12 in a minute, half of them with a task.
    EXPECT_GE(relisted, 5);
    EXPECT_LE(relisted, 25);
    EXPECT_GE(tasked, 1);
    EXPECT_LT(tasked, relisted);
    EXPECT_EQ(Ped("near").Position().y, -20.0f);
    EXPECT_FALSE(Pursuing("far"));
}

TEST_F(HostPoliceTest, AHeldOutCopStillListingThePlayerOrCarryingAPursuitTaskChasesAllTheSame) {
    // Held out from the start and beyond re-listing range: nothing but the task below sends him.
    Ped("far").m_nPursuitSuppressed = 1;
    for (int slot = 0; slot < CPed::kCriminalSlots; ++slot) {
        sandbox::Ped& cop = Ped("near");
        cop.SetPosition({0, -20, 0});
        cop.m_nPursuitSuppressed = 1;
        cop.m_apCriminalsToKill[slot] = world_.Player();
        RunFor(500);
        EXPECT_GT(cop.Position().y, -18.0f) << slot;
        EXPECT_FALSE(Pursuing("near")) << slot;  // the list alone brings no task
        cop.DropCriminal(world_.Player());
    }
    sandbox::Ped& cop = Ped("far");
    ASSERT_FALSE(Listed("far"));
    ASSERT_FALSE(Pursuing("far"));
    ASSERT_EQ(cop.Position().y, -80.0f);
    cop.AddTask(sandbox::kTaskPursuitArrest, 0);
    RunFor(500);
    EXPECT_GT(cop.Position().y, -78.0f);
    EXPECT_TRUE(Listed("far"));  // the task is after him: he is back on the list
}

TEST_F(HostPoliceTest, TheHostListsThePlayerInTheSlotsInTurn) {
    sandbox::Ped& cop = Ped("near");
    CPed* player = world_.Player();
    for (int round = 0; round < 2 * CPed::kCriminalSlots; ++round) {
        world_.AddCriminal(cop);
        world_.AddCriminal(cop);  // never twice
        const int slot = round % CPed::kCriminalSlots;
        ASSERT_EQ(cop.m_apCriminalsToKill[slot], player) << round;
        ASSERT_EQ(std::count(std::begin(cop.m_apCriminalsToKill), std::end(cop.m_apCriminalsToKill), player),
                  1);
        cop.ClearCriminalListSlot(0, slot);
    }
    CPed other;
    cop.m_apCriminalsToKill[3] = &other;
    world_.AddCriminalAt(cop, 3);  // taken: nothing happens
    EXPECT_FALSE(Listed("near"));
    world_.AddCriminalAt(cop, 4);
    EXPECT_EQ(cop.m_apCriminalsToKill[4], player);
    world_.AddCriminal(cop);  // already listed: the turn goes on from slot 0
    EXPECT_EQ(cop.m_apCriminalsToKill[0], nullptr);
    cop.m_apCriminalsToKill[3] = nullptr;
}

TEST_F(HostPoliceTest, ALoweredFlagResumesTheChaseAndTheEndOfWantedStandsEveryoneDown) {
    Ped("near").m_nPursuitSuppressed = 1;
    RunFor(500);
    Ped("near").m_nPursuitSuppressed = 0;
    RunFor(500);
    EXPECT_TRUE(Listed("near"));
    EXPECT_GT(Ped("near").Position().y, -20.0f);
    world_.Wanted().m_nWantedLevel = 0;
    RunFor(100);
    EXPECT_FALSE(Listed("near"));
    EXPECT_FALSE(Pursuing("near"));
    const float y = Ped("near").Position().y;
    RunFor(500);
    EXPECT_EQ(Ped("near").Position().y, y);
}

TEST_F(HostPoliceTest, SomeoneElsesMoveOrderRunsFirst) {
    sandbox::Ped& cop = Ped("near");
    cop.move.waypoints = {{-20, -20, 0}};
    cop.move.speed = 5.0f;
    cop.moving = true;
    RunFor(1000);
    EXPECT_NEAR(cop.Position().x, -5.0f, 0.01f);
    EXPECT_EQ(cop.Position().y, -20.0f);
}

}  // namespace
