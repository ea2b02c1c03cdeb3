// The scenario keys of towns, the evading player and the host's rules: bad values are refused at
// their path, and a town that takes the run's seed is built again for each seed.

#include <gtest/gtest.h>

#include <string>

#include "scenario/scenario_loader.h"
#include "scenario/town_section.h"
#include "support/scenario_error.h"

namespace {

using testing_support::ScenarioErrorFor;

TEST(TownAndRulesTest, BadTownsBehavioursAndHostRulesAreRefusedAtTheirPath) {
    const std::string town = R"({"durationMs": 100, "world": {"town": {"blocks": [2, 2]}}, )";
    const std::string plain = R"({"durationMs": 100, )";
    const struct {
        std::string json;
        std::string error;
    } cases[] = {
        {town + R"("player": {"pos": [1, 2, 0]}})",
         "bad.json: player.pos: a town puts the player at its middle crossing"},
        {R"({"durationMs": 100, "world": {"town": {}, "pedNodes": {"spacing": 5}}, "player": {}})",
         "bad.json: world.pedNodes: a town lays its own path nodes"},
        {R"({"durationMs": 100, "world": {"town": {"seed": "each"}}, "player": {}})",
         "bad.json: world.town.seed: expected a number or \"run\""},
        {R"({"durationMs": 100, "world": {"town": {"blocks": [2.5, 2]}}, "player": {}})",
         "bad.json: world.town.blocks: expected whole numbers of blocks"},
        {R"({"durationMs": 100, "world": {"town": {"height": [30, 6]}}, "player": {}})",
         "bad.json: world.town.height: the least is above the most"},
        {R"({"durationMs": 100, "world": {"town": {"copsOnFoot": 100, "parkedCars": 0}},
             "peds": [)" +
             [] {
                 std::string peds;
                 for (int i = 0; i < 60; ++i)
                     peds += std::string(i ? "," : "") + R"({"type": 4, "pos": [0, 0, 0]})";
                 return peds;
             }() +
             R"(], "player": {}})",
         "bad.json: world.town: the ped pool is full: it has 140 slots, the player's included"},
        {town + R"("peds": [{"id": "cop1", "type": 6, "pos": [0, 0, 0]}], "player": {}})",
         "bad.json: world.town: duplicate id \"cop1\" (already used at peds[0].id)"},
        {plain + R"("player": {"behaviour": "flee"}})",
         "bad.json: player.behaviour: unknown behaviour \"flee\"; known: evade"},
        {plain + R"("player": {"footSpeed": 7}})",
         "bad.json: player.footSpeed: needs \"behaviour\": \"evade\""},
        {plain + R"("player": {"behaviour": "evade", "carSpeed": 0}})", "bad.json: player.carSpeed: *"},
        {plain + R"("player": {}, "host": {"pursuit": false, "wantedClearMs": 5000}})",
         "bad.json: host.wantedClearMs: needs \"pursuit\": true: without the host's pursuit nobody pursues"},
        {plain + R"("player": {}, "host": {"pursuit": false, "arrestMs": 5000}})",
         "bad.json: host.arrestMs: needs \"pursuit\": true: without the host's pursuit nobody pursues"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json.substr(0, 120));
        const std::string error = ScenarioErrorFor(c.json);
        if (c.error.ends_with("*")) {
            EXPECT_EQ(error.substr(0, c.error.size() - 1), c.error.substr(0, c.error.size() - 1));
        } else {
            EXPECT_EQ(error, c.error);
        }
    }
}

TEST(TownAndRulesTest, TheHostsRulesTakeTheirDefaultsFromThePursuit) {
    const auto host = [](const std::string& hostJson) {
        return sandbox::ParseScenario(R"({"durationMs": 100, "player": {})" + hostJson + "}", "h.json").host;
    };
    EXPECT_EQ(host("").wantedClearMs, sandbox::kDefaultWantedClearMs);
    EXPECT_EQ(host(R"(, "host": {"pursuit": false})").wantedClearMs, 0u);
    EXPECT_EQ(host(R"(, "host": {"wantedClearMs": 0})").wantedClearMs, 0u);
    EXPECT_EQ(host("").arrestMs, 0u);
}

TEST(TownAndRulesTest, ATownOnTheRunsSeedIsBuiltAgainForEachSeedAndAFixedOneIsNot) {
    const auto load = [](const std::string& seed) {
        return sandbox::ParseScenario(
            R"({"durationMs": 100, "seed": 1, "world": {"town": {"seed": )" + seed +
                R"(}}, "peds": [{"id": "mine", "type": 4, "pos": [1, 1, 0]}], "player": {}})",
            "t.json");
    };
    for (const bool followsRun : {true, false}) {
        sandbox::Scenario s = load(followsRun ? R"("run")" : "1");
        const sandbox::Vec3 first = s.world.boxes.front().max;
        const std::size_t peds = s.peds.size();
        sandbox::SetRunSeed(s, 2);
        EXPECT_EQ(s.seed, 2u);
        EXPECT_EQ(s.world.boxes.front().max.x != first.x, followsRun);
        // The file's own ped stays first, and the town's are not added twice.
        EXPECT_EQ(s.peds.size(), peds);
        EXPECT_EQ(s.peds.front().id, "mine");
        EXPECT_EQ(s.world.pedNodes.layout, sandbox::PedNodes::Layout::points);
    }
}

}  // namespace
