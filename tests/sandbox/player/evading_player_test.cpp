// The evading player: where he runs, when he keeps still, when he takes a car, and that the
// scenario's own moves come first.

#include <gtest/gtest.h>

#include <string>

#include "main_loop/host_frame.h"
#include "player/hiding_spots.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace {

// A street along y with a building east of it; a cop 40 m south, in the open, when `copInView`,
// else far off behind the building. Path nodes every 5 m.
sandbox::Scenario Street(bool copInView, const std::string& vehicles = "") {
    const std::string cop = copInView ? "[0, -40, 0]" : "[60, 0, 0]";
    return sandbox::ParseScenario(R"({ "durationMs": 1000, "seed": 5,
        "world": { "boxes": [{"min": [10, -10, 0], "max": [40, 30, 12]}], "pedNodes": {"spacing": 5} },
        "player": { "pos": [0, 0, 0], "wanted": 2, "behaviour": "evade" },
        "peds": [ { "id": "cop", "type": 6, "pos": )" +
                                      cop + R"( } ] )" + vehicles + "}",
                                  "evade.json");
}

class EvadingPlayerTest : public ::testing::Test {
protected:
    void Build(const sandbox::Scenario& scenario) {
        scenario_ = scenario;
        world_.emplace(sandbox::ScenarioWorld(scenario_));
        // No host pursuit: the cop stands where he is put, so only the player's choices move anything.
        frame_.emplace(sandbox::HostRules{false, 0, scenario_.player.evade, 0});
    }
    void RunFor(std::uint32_t ms) {
        for (std::uint32_t t = 0; t < ms; t += 50) {
            world_->SetClock(world_->Now() + 50);
            frame_->Run(*world_, 50);
        }
    }
    sandbox::Vec3 Me() { return world_->Player()->Position(); }
    bool CopSeesMe() {
        // As far as he reckons a cop sees: his own sight.
        return sandbox::InViewOf(world_->FindPed("cop")->Position(), Me(), scenario_.player.evade->sight,
                                 world_->Geometry());
    }

    sandbox::Scenario scenario_;
    std::optional<sandbox::World> world_;
    std::optional<sandbox::HostFrame> frame_;
};

TEST_F(EvadingPlayerTest, SeenInTheOpenHeRunsToAPlaceTheCopCannotSeeAndStaysThere) {
    for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        sandbox::Scenario s = Street(true);
        s.seed = seed;
        Build(s);
        ASSERT_TRUE(CopSeesMe());
        RunFor(20000);
        EXPECT_FALSE(CopSeesMe());
        EXPECT_GT(Length2D(Me() - world_->FindPed("cop")->Position()), 40.0f);  // away, not towards him
        const sandbox::Vec3 hidden = Me();
        RunFor(5000);
        EXPECT_EQ(Me().x, hidden.x);
        EXPECT_EQ(Me().y, hidden.y);
    }
}

TEST_F(EvadingPlayerTest, UnseenAndWithNobodyNearHeKeepsStillUntilACopComesNear) {
    Build(Street(false));
    RunFor(5000);
    EXPECT_EQ(Me().x, 0.0f);
    EXPECT_EQ(Me().y, 0.0f);
    world_->FindPed("cop")->SetPosition({-20, 0, 0});  // within his caution, behind no wall
    RunFor(3000);
    EXPECT_GT(Length2D(Me()), 5.0f);
}

TEST_F(EvadingPlayerTest, HeTakesAFreeCarThatHeReachesBeforeTheCopAndDrivesOff) {
    struct Case {
        std::string car;
        bool takes;
    };
    const std::vector<Case> cases = {
        {R"({"id": "car", "model": 400, "pos": [0, 15, 0]})", true},
        // A police car, a car with a driver, and a car the cop stands nearer to are no way out.
        {R"({"id": "car", "model": 596, "pos": [0, 15, 0], "lawEnforcer": true})", false},
        {R"({"id": "car", "model": 400, "pos": [0, -30, 0]})", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.car);
        Build(Street(true, R"(, "vehicles": [)" + c.car + "]"));
        RunFor(6000);
        EXPECT_EQ(world_->Player()->m_bInVehicle, c.takes);
        if (c.takes) {
            EXPECT_GT(Length2D(world_->FindVehicle("car")->Position() - sandbox::Vec3{0, 15, 0}), 20.0f);
        }
    }
}

TEST_F(EvadingPlayerTest, AScriptedMoveRunsOutBeforeHeChoosesAgain) {
    Build(Street(true));
    sandbox::Ped& me = *world_->Player();
    me.move = {};
    me.move.waypoints = {{0, -30, 0}};  // straight at the cop: no evading player would go there
    me.move.speed = 5.0f;
    me.moving = true;
    RunFor(4000);
    EXPECT_NEAR(Me().y, -20.0f, 0.5f);
    RunFor(20000);
    EXPECT_FALSE(CopSeesMe());
}

// In a walled street a cop stands 15 m south of him and another 70 m north: the goals farthest from
// both lie beyond the near one. He does not run past that cop to them, but north, as far from both
// as the street allows.
TEST_F(EvadingPlayerTest, HeDoesNotRunPastACopToTheFarGoals) {
    for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        sandbox::Scenario s = sandbox::ParseScenario(R"({ "durationMs": 1000, "seed": 1,
            "world": { "boxes": [{"min": [3, -200, 0], "max": [20, 200, 12]}, {"min": [-20, -200, 0], "max": [-3, 200, 12]}],
                       "pedNodes": {"spacing": 5} },
            "player": { "pos": [0, 0, 0], "wanted": 2, "behaviour": "evade" },
            "peds": [ { "id": "near", "type": 6, "pos": [0, -15, 0] }, { "id": "far", "type": 6, "pos": [0, 70, 0] } ] })",
                                                     "corridor.json");
        s.seed = seed;
        Build(s);
        float nearest = 1e9f;
        for (int t = 0; t < 30; ++t) {
            RunFor(100);
            nearest = std::min(nearest, Length2D(Me() - world_->FindPed("near")->Position()));
        }
        EXPECT_GE(nearest, 14.0f);
        EXPECT_GT(Me().y, 10.0f);
    }
}

// A helicopter crew sees him in the street: he runs under the roof of an underpass, out of its sight,
// and stays there while it hovers above.
TEST_F(EvadingPlayerTest, SeenFromAHelicopterHeTakesCoverAndWaits) {
    sandbox::Scenario s = sandbox::ParseScenario(R"({ "durationMs": 1000, "seed": 2,
        "world": { "boxes": [{"min": [-7, 40, 5], "max": [7, 70, 6]}], "pedNodes": {"spacing": 5} },
        "player": { "pos": [0, 0, 0], "wanted": 2, "behaviour": "evade" },
        "vehicles": [ { "id": "heli", "model": 497, "pos": [0, -20, 25], "lawEnforcer": true } ],
        "peds": [ { "id": "cop", "type": 6, "pos": [0, -20, 25], "vehicle": "heli", "seat": "driver" } ] })",
                                                 "cover.json");
    Build(s);
    RunFor(15000);
    EXPECT_NEAR(Me().x, 0.0f, 7.0f);
    EXPECT_NEAR(Me().y, 55.0f, 15.0f);
    world_->FindVehicle("heli")->SetPosition({0, 50, 25});
    world_->FindPed("cop")->SetPosition({0, 50, 25});
    const sandbox::Vec3 under = Me();
    EXPECT_FALSE(CopSeesMe());
    RunFor(5000);
    EXPECT_EQ(Me().x, under.x);
    EXPECT_EQ(Me().y, under.y);
}

}  // namespace
