// The evading player's rules at their boundaries, one step either side: how long he keeps a cop in
// mind, which ways pass a cop, when a goal is spoilt, and which car he runs for.

#include <gtest/gtest.h>

#include <vector>

#include "player/car_choice.h"
#include "player/cop_memory.h"
#include "player/hiding_spots.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace {

using sandbox::Vec3;

TEST(EvaderRulesTest, ACopIsKeptInMindForSixSecondsAcrossTheClocksWrap) {
    struct Case {
        std::uint32_t seenAt;
        std::uint32_t after;
        bool kept;
    };
    const Case cases[] = {
        {1000, 5999, true}, {1000, 6000, false}, {0xFFFFF000u, 5999, true}, {0xFFFFF000u, 6000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        sandbox::CopMemory memory;
        memory.Note({3, {1, 2, 0}, c.seenAt, false});
        memory.Note({3, {5, 2, 0}, c.seenAt, false});  // seen again: one entry, the newer place
        memory.Forget(c.seenAt + c.after);
        ASSERT_EQ(memory.Sightings().size(), c.kept ? 1u : 0u);
        if (c.kept) {
            EXPECT_EQ(memory.Sightings()[0].pos.x, 5.0f);
        }
    }
}

// An open square, a wall from x 10 to 12 between y -50 and 50 when the case asks for it.
sandbox::Scenario Square(bool walled) {
    const std::string wall = walled ? R"("boxes": [{"min": [10, -50, 0], "max": [12, 50, 10]}])" : "";
    return sandbox::ParseScenario(
        R"({ "durationMs": 1000, "world": { )" + wall + R"( }, "player": { "pos": [0, 0, 0] } })",
        "square.json");
}

// He stands at the origin, a cop at `cop`; caution 15 m, sight 40 m.
TEST(EvaderRulesTest, AWayPassesACopWhereItNearsHimAndIsWithinCautionOrInView) {
    struct Case {
        Vec3 spot;
        Vec3 cop;
        bool walled;
        bool exposed;
    };
    const Case cases[] = {
        {{0, 20, 0}, {14.9f, 20, 0}, true, true},   // nearer, behind the wall, 14.9 m: within caution
        {{0, 20, 0}, {15.1f, 20, 0}, true, false},  // 15.1 m behind the wall: neither
        {{0, 20, 0}, {25, 20, 0}, true, false},     // nearer, 25 m, behind the wall: not seen
        {{0, 20, 0}, {25, 20, 0}, false, true},     // the same in the open: seen
        {{0, 20, 0}, {0, 60.1f, 0}, false, false},  // nearer, 40.1 m: out of sight
        {{0, 20, 0}, {0, 60, 0}, false, true},      // 40 m: still in sight
        {{0, -5, 0}, {0, 8, 0}, false, false},      // within caution, but farther from him than he is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const sandbox::Scenario scenario = Square(c.walled);
        const sandbox::World world(sandbox::ScenarioWorld(scenario));
        const std::vector<Vec3> cops = {c.cop};
        EXPECT_EQ(sandbox::Exposed(c.spot, {0, 0, 0}, cops, 15.0f, 40.0f, world.Geometry()), c.exposed);
    }
}

// He stands at the origin making for (0, 30); sight 40 m.
TEST(EvaderRulesTest, AGoalIsSpoiltByACopNearerToItThanHeIsOrByOneWhoSeesIt) {
    struct Case {
        Vec3 cop;
        bool walled;
        bool spoilt;
    };
    const Case cases[] = {
        {{29.9f, 30, 0}, true, true},   // behind the wall, 29.9 m from the goal: nearer than he is
        {{30.1f, 30, 0}, true, false},  // 30.1 m, behind the wall
        {{30.1f, 30, 0}, false, true},  // 30.1 m in the open: he sees it
        {{0, 70.1f, 0}, false, false},  // 40.1 m in the open: out of sight
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const sandbox::Scenario scenario = Square(c.walled);
        const sandbox::World world(sandbox::ScenarioWorld(scenario));
        const std::vector<Vec3> cops = {c.cop};
        EXPECT_EQ(sandbox::GoalSpoilt({0, 30, 0}, {0, 0, 0}, cops, 40.0f, world.Geometry()), c.spoilt);
    }
}

TEST(EvaderRulesTest, HeRunsForTheNearestFreeCarWithinSixtyMetresThatNoCopReachesFirst) {
    struct Case {
        std::vector<std::string> cars;  // each car's keys but its id, "car0", "car1"...
        std::vector<Vec3> cops;
        int car;  // which car he takes, -1 none
    };
    const Case cases[] = {
        {{R"("model": 400, "pos": [0, 59.9, 0])"}, {}, 0},
        {{R"("model": 400, "pos": [0, 60.1, 0])"}, {}, -1},
        {{R"("model": 400, "pos": [0, 20, 0])"}, {{0, 40.1f, 0}}, 0},  // the cop 20.1 m from it
        {{R"("model": 400, "pos": [0, 20, 0])"}, {{0, 39.9f, 0}}, -1},
        {{R"("model": 400, "pos": [0, 30, 0])", R"("model": 400, "pos": [0, -20, 0])"}, {}, 1},  // the nearer
        {{R"("model": 596, "lawEnforcer": true, "pos": [0, 20, 0])"}, {}, -1},
        {{R"("model": 497, "pos": [0, 20, 0])"}, {}, -1},  // a helicopter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        std::string list;
        for (std::size_t i = 0; i < c.cars.size(); ++i)
            list += (i > 0 ? ", " : "") + std::string(R"({"id": "car)") + std::to_string(i) + "\", " +
                    c.cars[i] + "}";
        const sandbox::Scenario scenario = sandbox::ParseScenario(
            R"({ "durationMs": 1000, "player": { "pos": [0, 0, 0] }, "vehicles": [)" + list + "] }",
            "cars.json");
        sandbox::World world(sandbox::ScenarioWorld(scenario));
        const int expected =
            c.car < 0 ? -1 : world.Vehicles().IndexOf(world.FindVehicle("car" + std::to_string(c.car)));
        EXPECT_EQ(sandbox::CarToTake(world, {0, 0, 0}, c.cops), expected);
    }
}

}  // namespace
