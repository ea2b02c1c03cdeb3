// What the live page may send for the player, and the events a play is kept as.

#include <gtest/gtest.h>

#include <string>

#include "play/play_session.h"
#include "play/player_action.h"
#include "play/saved_play.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace {

using sandbox::PlayerAction;

TEST(PlayerAction, ReadsWhatThePageSends) {
    struct Case {
        const char* message;
        PlayerAction::Kind kind;
        float dx, dy;
        bool run;
        const char* key;
    };
    const Case cases[] = {
        {R"({"do": "move", "dx": 1, "dy": -1, "run": true})", PlayerAction::Kind::move, 1, -1, true, ""},
        {R"({"do": "move"})", PlayerAction::Kind::move, 0, 0, false, ""},
        {R"({"do": "enter"})", PlayerAction::Kind::enterOrLeave, 0, 0, false, ""},
        {R"({"do": "fire"})", PlayerAction::Kind::fire, 0, 0, false, ""},
        {R"({"do": "key", "key": "f10"})", PlayerAction::Kind::key, 0, 0, false, "F10"},
    };
    for (const Case& c : cases) {
        const PlayerAction a = sandbox::ReadPlayerAction(nlohmann::json::parse(c.message));
        EXPECT_EQ(a.kind, c.kind) << c.message;
        EXPECT_EQ(a.dx, c.dx) << c.message;
        EXPECT_EQ(a.dy, c.dy) << c.message;
        EXPECT_EQ(a.run, c.run) << c.message;
        EXPECT_EQ(a.key, c.key) << c.message;
    }
}

TEST(PlayerAction, RefusesAnythingElse) {
    for (const char* message :
         {R"([])", R"("move")", R"({})", R"({"do": 3})", R"({"do": "fly"})", R"({"do": "move", "dx": 2})",
          R"({"do": "move", "dy": "1"})", R"({"do": "move", "run": 1})", R"({"do": "key"})",
          R"({"do": "key", "key": "F99"})"}) {
        EXPECT_THROW(sandbox::ReadPlayerAction(nlohmann::json::parse(message)), sandbox::PlayInputError)
            << message;
    }
}

TEST(PlayFrameTime, CutsLongFramesUnlessAsked) {
    struct Case {
        sandbox::FrameTime scenario;
        std::uint32_t asked;
        sandbox::FrameTime expected;
    };
    const Case cases[] = {
        {{33, 33}, 0, {16, 16}}, {{10, 10}, 0, {10, 10}},  {{5, 40}, 0, {5, 16}},
        {{20, 40}, 0, {16, 16}}, {{33, 33}, 33, {33, 33}}, {{5, 40}, 8, {8, 8}},
    };
    for (const Case& c : cases) {
        const sandbox::FrameTime got = sandbox::PlayFrameTime(c.scenario, c.asked);
        EXPECT_EQ(got.minMs, c.expected.minMs)
            << c.scenario.minMs << "-" << c.scenario.maxMs << " " << c.asked;
        EXPECT_EQ(got.maxMs, c.expected.maxMs)
            << c.scenario.minMs << "-" << c.scenario.maxMs << " " << c.asked;
    }
}

TEST(SavedPlay, IsTheScenarioWithTheMovesAfterItsOwnEvents) {
    const std::string source = R"({"name": "s", "durationMs": 9000, "settings": {"SightRange": 40},
        "player": {"pos": [0, 0, 0], "wanted": 1},
        "vehicles": [{"id": "car", "model": 400, "pos": [3, 0, 0]}],
        "events": [{"at": 500, "do": "playerMove", "to": [5, 0, 0], "speed": 2}],
        "expect": [{"log": "never", "by": 100}]})";
    sandbox::Scenario scenario = sandbox::ParseScenario(source, "s.json");
    scenario.frame = {12, 16};
    std::vector<sandbox::Event> moves(4);
    moves[0].kind = sandbox::EventKind::playerMove;
    moves[0].atMs = 500;
    moves[0].to = {0.1f, -2.7f, 0.0f};
    moves[0].speed = 1.8f;
    moves[1].kind = sandbox::EventKind::playerEnter;
    moves[1].atMs = 700;
    moves[1].vehicle = "car";
    moves[2].kind = sandbox::EventKind::playerFire;
    moves[2].atMs = 800;
    moves[2].weapon = 22;
    moves[2].forMs = 300;
    moves[3].kind = sandbox::EventKind::key;
    moves[3].atMs = 900;
    moves[3].key = "F10";
    moves[3].forMs = 100;
    const std::string saved =
        sandbox::SavedPlayText(source, scenario, "[Settings]\nSightRange=30\n", moves, 1234);
    const sandbox::Scenario played = sandbox::ParseScenario(saved, "played.json");
    EXPECT_EQ(played.durationMs, 1234u);
    EXPECT_EQ(played.frame.minMs, 12u);
    EXPECT_EQ(played.frame.maxMs, 16u);
    EXPECT_EQ(played.ini, "[Settings]\nSightRange=30\n");
    EXPECT_FALSE(played.settings);
    EXPECT_TRUE(played.expect.empty());
    ASSERT_EQ(played.events.size(), 5u);
    // At the same time the scenario's own event comes first, as it ran first in the play.
    EXPECT_EQ(played.events[0].to.x, 5.0f);
    EXPECT_EQ(played.events[1].to.x, 0.1f);
    EXPECT_EQ(played.events[1].to.y, -2.7f);
    EXPECT_EQ(played.events[1].speed, 1.8f);
    EXPECT_EQ(played.events[2].vehicle, "car");
    EXPECT_EQ(played.events[3].weapon, 22);
    EXPECT_EQ(played.events[4].keyCode, 0x79);
}

}  // namespace

namespace {

// The user took the player over at 600 ms: the scenario's own player moves from then on are not
// kept, its other events are.
TEST(SavedPlay, LeavesOutTheScenariosPlayerMovesFromTheTakeoverOn) {
    const std::string source = R"({"name": "s", "durationMs": 9000, "player": {"pos": [0, 0, 0], "wanted": 1},
        "events": [{"at": 599, "do": "playerMove", "to": [5, 0, 0], "speed": 2},
                   {"at": 600, "do": "playerMove", "to": [9, 0, 0], "speed": 2},
                   {"at": 700, "do": "wanted", "level": 0},
                   {"at": 800, "do": "playerFire", "weapon": 22, "forMs": 300}]})";
    const sandbox::Scenario scenario = sandbox::ParseScenario(source, "s.json");
    const sandbox::Scenario played = sandbox::ParseScenario(
        sandbox::SavedPlayText(source, scenario, std::nullopt, {}, 1000, 600), "p.json");
    ASSERT_EQ(played.events.size(), 2u);
    EXPECT_EQ(played.events[0].atMs, 599u);
    EXPECT_EQ(played.events[1].kind, sandbox::EventKind::wanted);
}

TEST(PlayerAction, SaysWhyEOrFWillDoNothing) {
    struct Case {
        const char* what;
        float carY;  // the free car's distance north of him
        int wanted;
        const char* why;  // "" when the key does something
    };
    const Case cases[] = {
        {"enter", 5.9f, 2, ""},
        {"enter", 6.1f, 2, "E: no free car within 6 m"},
        {"fire", 50.0f, 1, ""},
        {"fire", 50.0f, 0, "F: a shot, but you are not wanted: the cops hear it and do nothing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const sandbox::Scenario scenario = sandbox::ParseScenario(
            R"({ "durationMs": 1000, "player": { "pos": [0, 0, 0], "wanted": )" + std::to_string(c.wanted) +
                R"( }, "vehicles": [ { "id": "car", "model": 400, "pos": [0, )" + std::to_string(c.carY) +
                R"(, 0] } ] })",
            "why.json");
        sandbox::World world(sandbox::ScenarioWorld(scenario));
        const std::optional<std::string> why =
            sandbox::WhyNothing(sandbox::ReadPlayerAction({{"do", c.what}}), world);
        EXPECT_EQ(why.value_or(""), c.why);
    }
}

}  // namespace
