// How the sandbox host walks its peds: walls stop them, the ground carries them.

#include <gtest/gtest.h>

#include "run/event_applier.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "support/host_world.h"
#include "world/world.h"

namespace {

using sandbox::World;

sandbox::Scenario Street() {
    return sandbox::ParseScenario(R"({ "durationMs": 1000, "player": { "pos": [0, -50, 0] },
        "world": { "boxes": [ { "id": "kerb", "min": [4, -5, 0], "max": [6, 5, 0.3] },
                              { "id": "wall", "min": [14, -5, 0], "max": [16, 5, 5] } ],
                   "noGround": [ { "min": [-30, -5], "max": [-20, 5] } ] },
        "peds": [ { "id": "p", "type": 4, "pos": [0, 0, 0] } ] })",
                                  "walk.json");
}

void WalkFor(World& world, sandbox::Vec3 to, int frames) {
    sandbox::Event walk;
    walk.kind = sandbox::EventKind::pedMoveTo;
    walk.id = "p";
    walk.to = to;
    walk.speed = 2.0f;
    sandbox::ApplyEvent(world, walk);
    testing_support::RunHostFrames(world, static_cast<std::uint32_t>(frames) * 50);
}

TEST(PedWalkTest, StepsOntoAKerbAndDownAgainButNotThroughAWall) {
    const sandbox::Scenario scenario = Street();
    World world(ScenarioWorld(scenario));
    sandbox::Ped& ped = *world.FindPed("p");
    WalkFor(world, {5, 0, 0}, 60);
    EXPECT_FLOAT_EQ(ped.m_vecPos.z, 0.3f);
    WalkFor(world, {30, 0, 0}, 200);
    EXPECT_LT(ped.m_vecPos.x, 14.0f);
    EXPECT_GT(ped.m_vecPos.x, 13.0f);
    EXPECT_FLOAT_EQ(ped.m_vecPos.z, 0.0f);
}

TEST(PedWalkTest, AWallHoldsHimOnlyWhileHeWalksIntoItAndItStands) {
    const sandbox::Scenario scenario = Street();
    World world(ScenarioWorld(scenario));
    sandbox::Ped& ped = *world.FindPed("p");
    WalkFor(world, {30, 0, 0}, 200);
    const float held = ped.m_vecPos.x;
    ASSERT_LT(held, 14.0f);
    // Another order takes him away from the wall, and the same order back to it holds him again.
    WalkFor(world, {10, 0, 0}, 20);
    EXPECT_LT(ped.m_vecPos.x, held - 1.0f);
    WalkFor(world, {30, 0, 0}, 100);
    EXPECT_LT(ped.m_vecPos.x, 14.0f);
    // With the wall gone (only the kerb left) the same step goes through.
    world.Geometry().SetBoxes({world.Geometry().Boxes().front()});
    WalkFor(world, {30, 0, 0}, 200);
    EXPECT_FLOAT_EQ(ped.m_vecPos.x, 30.0f);
}

TEST(PedWalkTest, KeepsHisHeightOverAHoleInTheGround) {
    const sandbox::Scenario scenario = Street();
    World world(ScenarioWorld(scenario));
    sandbox::Ped& ped = *world.FindPed("p");
    WalkFor(world, {-25, 0, 0}, 300);
    EXPECT_FLOAT_EQ(ped.m_vecPos.x, -25.0f);
    EXPECT_FLOAT_EQ(ped.m_vecPos.z, 0.0f);
}

}  // namespace
