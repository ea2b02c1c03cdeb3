#include "scenario/scenario_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace sandbox {
namespace {

// A valid scenario with the given top-level members added after durationMs and player.
std::string With(const std::string& members) {
    return R"({"durationMs": 1000, "player": {"pos": [0, 0, 0]})" + (members.empty() ? "" : ", " + members) +
           "}";
}

Scenario Parse(const std::string& json) { return ParseScenario(json, "test.json"); }

// The whole message, so that the file name, the JSON path and the problem are all checked.
std::string ErrorOf(const std::string& json) {
    try {
        Parse(json);
    } catch (const ScenarioError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(ScenarioLoader, MinimalScenarioGetsDefaults) {
    Scenario s = ParseScenario(R"({"durationMs": 5000, "player": {}})", "dir/short-walk.json");
    EXPECT_EQ(s.name, "short-walk");
    EXPECT_EQ(s.seed, 1u);
    EXPECT_EQ(s.clockStartMs, 0u);
    EXPECT_TRUE(s.frame.IsFixed());
    EXPECT_EQ(s.frame.minMs, 33u);
    EXPECT_EQ(s.durationMs, 5000u);
    EXPECT_FALSE(s.settings.has_value());
    EXPECT_FALSE(s.ini.has_value());
    EXPECT_EQ(s.world.groundZ, 0.0f);
    EXPECT_EQ(s.world.codeBuild, 1001);
    EXPECT_EQ(s.world.starCallSites, 2);
    EXPECT_EQ(s.world.pedNodes.layout, PedNodes::Layout::none);
    EXPECT_TRUE(s.host.pursuit);
    EXPECT_FALSE(s.host.copCarCounter.has_value());
    EXPECT_EQ(s.player.health, 100.0f);
    EXPECT_TRUE(s.player.vehicle.empty());
}

TEST(ScenarioLoader, ReadsEveryPartOfAFullScenario) {
    Scenario s = Parse(R"({
      "name": "chase", "description": "one line", "seed": 7, "clockStartMs": 1000,
      "frameMs": [20, 40], "durationMs": 60000,
      "settings": { "SightRange": 45, "FadeTime": 0.5, "Alpha": 1.0 },
      "world": {
        "groundZ": 2,
        "boxes": [ { "id": "bank", "min": [0, 0, 0], "max": [20, 30, 12] } ],
        "noGround": [ { "min": [100, 100], "max": [200, 200] } ],
        "pedNodes": { "spacing": 10 },
        "codeBuild": 1002, "starCallSites": 0
      },
      "player": { "pos": [0, 1, 2], "heading": 90, "health": 80, "wanted": 2,
                  "weapons": [ { "type": 22, "ammo": 100 } ], "vehicle": "car1", "seat": "driver" },
      "peds": [ { "id": "cop1", "type": 6, "pos": [30, 0, 0], "heading": 90, "armour": 50,
                  "vehicle": "pc1", "seat": 2 } ],
      "vehicles": [ { "id": "pc1", "model": 596, "pos": [40, 0, 0], "lawEnforcer": true },
                    { "id": "car1", "model": 400, "pos": [0, 1, 2] } ],
      "host": { "pursuit": false, "copCarCounter": 3 },
      "events": [ { "at": 5000, "do": "playerMove", "to": [80, 40, 0], "speed": 6 } ],
      "expect": [ { "log": "cop lost the player: ped=*", "by": 12000 } ]
    })");
    EXPECT_EQ(s.name, "chase");
    EXPECT_EQ(s.seed, 7u);
    EXPECT_EQ(s.clockStartMs, 1000u);
    EXPECT_EQ(s.frame.minMs, 20u);
    EXPECT_EQ(s.frame.maxMs, 40u);

    ASSERT_TRUE(s.settings.has_value());
    ASSERT_EQ(s.settings->size(), 3u);
    EXPECT_EQ((*s.settings)[0].key, "SightRange");  // file order, not sorted
    EXPECT_TRUE((*s.settings)[0].isInteger);
    EXPECT_EQ((*s.settings)[0].text, "45");
    EXPECT_EQ((*s.settings)[1].key, "FadeTime");
    EXPECT_FALSE((*s.settings)[1].isInteger);
    EXPECT_EQ((*s.settings)[1].text, "0.5");
    EXPECT_FALSE((*s.settings)[2].isInteger);

    EXPECT_EQ(s.world.groundZ, 2.0f);
    ASSERT_EQ(s.world.boxes.size(), 1u);
    EXPECT_EQ(s.world.boxes[0].max, (Vec3{20, 30, 12}));
    ASSERT_EQ(s.world.noGround.size(), 1u);
    EXPECT_EQ(s.world.noGround[0].maxY, 200.0f);
    EXPECT_EQ(s.world.pedNodes.layout, PedNodes::Layout::grid);
    EXPECT_EQ(s.world.pedNodes.spacing, 10.0f);
    EXPECT_EQ(s.world.codeBuild, 1002);
    EXPECT_EQ(s.world.starCallSites, 0);

    EXPECT_EQ(s.player.pos, (Vec3{0, 1, 2}));
    EXPECT_EQ(s.player.heading, 90.0f);
    EXPECT_EQ(s.player.wanted, 2);
    ASSERT_EQ(s.player.weapons.size(), 1u);
    EXPECT_EQ(s.player.weapons[0].ammo, 100);
    EXPECT_EQ(s.player.vehicle, "car1");
    EXPECT_EQ(s.player.seat, kDriverSeat);

    ASSERT_EQ(s.peds.size(), 1u);
    EXPECT_EQ(s.peds[0].seat, 2);
    EXPECT_EQ(s.peds[0].armour, 50.0f);
    EXPECT_EQ(s.peds[0].health, 100.0f);
    ASSERT_EQ(s.vehicles.size(), 2u);
    EXPECT_TRUE(s.vehicles[0].lawEnforcer);
    EXPECT_FALSE(s.vehicles[1].lawEnforcer);

    EXPECT_FALSE(s.host.pursuit);
    EXPECT_EQ(s.host.copCarCounter, 3);
    ASSERT_EQ(s.events.size(), 1u);
    EXPECT_EQ(s.events[0].kind, EventKind::playerMove);
    EXPECT_EQ(s.events[0].speed, 6.0f);
    ASSERT_EQ(s.expect.size(), 1u);
    EXPECT_EQ(s.expect[0].byMs, 12000u);
}

TEST(ScenarioLoader, ErrorsNameFileAndJsonPath) {
    EXPECT_EQ(ErrorOf(R"({"player": {}})"), "test.json: durationMs: missing (required)");
    EXPECT_EQ(ErrorOf(R"({"durationMs": 10})"), "test.json: player: missing (required)");
    EXPECT_EQ(ErrorOf("[1]"), "test.json: expected a JSON object at the top level");
    EXPECT_EQ(ErrorOf(With(R"("peds": [{"type": 6, "pos": [1, 2, 3]}, {"type": 6, "pos": [1, 2]}])")),
              "test.json: peds[1].pos: expected an array of 3 numbers");
    EXPECT_EQ(ErrorOf(With(R"("peds": [{"type": 6, "pos": [0, 0, 0], "heding": 4}])")),
              "test.json: peds[0].heding: unknown key (known here: id, type, pos, heading, health, armour, "
              "weapons, vehicle, seat, leaveMs)");
    EXPECT_EQ(ErrorOf(With(R"("sed": 3)")).substr(0, 31), "test.json: sed: unknown key (kn");
    EXPECT_EQ(ErrorOf(With(R"("world": {"boxes": [{"min": [0, 0, 0], "max": [1, 1, "2"]}]})")),
              "test.json: world.boxes[0].max: expected an array of 3 numbers");
    EXPECT_EQ(ErrorOf(With(R"("seed": -1)")),
              "test.json: seed: expected a whole number from 0 to 4294967295");
    EXPECT_EQ(ErrorOf(R"({"durationMs": 1000, "player": {"wanted": 7}})"),
              "test.json: player.wanted: expected a whole number from 0 to 6");
    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 1.5, "do": "playerDie"}])")),
              "test.json: events[0].at: expected a whole number from 0 to 4294967295");
    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 1, "do": "dance"}])")),
              "test.json: events[0].do: unknown event \"dance\"");
    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 1, "do": "playerDie", "to": [0, 0, 0]}])")),
              "test.json: events[0].to: unknown key (known here: at, do)");
}

TEST(ScenarioLoader, JsonSyntaxErrorsAndDuplicateKeysAreReported) {
    std::string syntax = ErrorOf("{\n  \"durationMs\": 10,\n  \"player\": {,}\n}");
    EXPECT_EQ(syntax.rfind("test.json: invalid JSON: parse error at line 3, column 14", 0), 0u) << syntax;

    EXPECT_EQ(ErrorOf(R"({"durationMs": 1, "player": {}, "peds": [{"type": 6, "pos": [0,0,0]},
                         {"type": 6, "type": 7, "pos": [0,0,0]}]})"),
              "test.json: peds[1].type: duplicate key");
    EXPECT_EQ(ErrorOf(R"({"durationMs": 1, "durationMs": 2, "player": {}})"),
              "test.json: durationMs: duplicate key");
}

TEST(ScenarioLoader, RejectsBadValues) {
    EXPECT_EQ(ErrorOf(With(R"("frameMs": 0)")), "test.json: frameMs: a frame must take at least 1 ms");
    EXPECT_EQ(ErrorOf(With(R"("frameMs": [40, 20])")), "test.json: frameMs: min is greater than max");
    EXPECT_EQ(ErrorOf(With(R"("frameMs": [0, 20])")),
              "test.json: frameMs[0]: a frame must take at least 1 ms");
    EXPECT_EQ(ErrorOf(R"({"durationMs": -5, "player": {}})"),
              "test.json: durationMs: expected a whole number from 0 to 4294967295");
    EXPECT_EQ(ErrorOf(With(R"("settings": {"A": 1}, "ini": "[Settings]\n")")),
              "test.json: ini: give either settings or ini, not both");
    EXPECT_EQ(ErrorOf(With(R"("settings": {"SightRange": "45"})")),
              "test.json: settings.SightRange: expected a number");
    // A key that would split the INI line or add a section.
    EXPECT_NE(ErrorOf(With(R"("settings": {"A=1\n[Evil]\nB": 1})")).find("not usable as an INI key"),
              std::string::npos);
    EXPECT_EQ(ErrorOf(With(R"("world": {"boxes": [{"min": [0, 0, 5], "max": [1, 1, 4]}]})")),
              "test.json: world.boxes[0].max: below min on some axis");
    EXPECT_EQ(ErrorOf(With(R"("world": {"pedNodes": {"spacing": 0}})")),
              "test.json: world.pedNodes.spacing: expected a number of at least 1");
    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 1, "do": "playerMove", "to": [1, 1, 0], "speed": 0}])")),
              "test.json: events[0].speed: expected a number greater than 0");
    EXPECT_EQ(ErrorOf(With(R"("host": {"pursuit": 1})")), "test.json: host.pursuit: expected true or false");
    EXPECT_EQ(ErrorOf(With(R"("settings": {"SightRange": 45, "sightrange": 40})")),
              "test.json: settings.sightrange: the same INI key as SightRange (case does not count)");
    EXPECT_NO_THROW(Parse(With(R"("host": {"copCarCounter": null}, "settings": {})")));
    EXPECT_TRUE(Parse(With(R"("settings": {})")).settings.has_value());
}

// Areas and ranges name their upper end when it lies below the lower one, on every axis and in
// every place they appear.
TEST(ScenarioLoader, UpperEndsBelowLowerOnesAreRefusedAtTheUpperEnd) {
    EXPECT_EQ(ErrorOf(With(R"("world": {"boxes": [{"min": [5, 0, 0], "max": [4, 1, 1]}]})")),
              "test.json: world.boxes[0].max: below min on some axis");
    EXPECT_EQ(ErrorOf(With(R"("world": {"noGround": [{"min": [0, 0], "max": [1, 1]},
                                                      {"min": [0, 5], "max": [1, 4]}]})")),
              "test.json: world.noGround[1].max: below min on some axis");
    EXPECT_EQ(
        Parse(With(R"("world": {"noGround": [{"min": [-1, -2], "max": [3, 4]}]})")).world.noGround[0].maxY,
        4.0f);
    EXPECT_EQ(ErrorOf(With(R"("expect": [{"logCount": "a", "min": 3, "max": 2}])")),
              "test.json: expect[0].max: less than min");
    EXPECT_EQ(ErrorOf(With(R"("expect": [{"at": 1, "probe": "pedRange", "min": 2.5, "max": 2}])")),
              "test.json: expect[0].max: less than min");
    const Scenario s = Parse(With(R"("expect": [{"logCount": "a", "min": 2, "max": 2},
                                               {"at": 1, "probe": "pedRange", "max": 2}])"));
    EXPECT_EQ(s.expect[0].minCount, 2u);
    EXPECT_EQ(s.expect[0].maxCount, 2u);
    EXPECT_FALSE(s.expect[1].min.has_value());
    EXPECT_EQ(s.expect[1].max, 2.0);
    EXPECT_EQ(ErrorOf(R"({"durationMs": 1, "player": {"seat": 0}})"),
              "test.json: player.seat: a seat needs a vehicle");
}

TEST(ScenarioLoader, NameMustBeASafeFolderName) {
    EXPECT_NE(ErrorOf(With(R"("name": "../../etc")")).find("test.json: name: expected a name usable"),
              std::string::npos);
    EXPECT_NE(ErrorOf(With(R"("name": "")")).find("test.json: name:"), std::string::npos);
    EXPECT_EQ(Parse(With(R"("name": "cop loses player")")).name, "cop loses player");
    EXPECT_EQ(ParseScenario(With(""), "/tmp/a:b.json").name, "a_b");
}

TEST(ScenarioLoader, PedNodesAsPointList) {
    Scenario s = Parse(With(R"("world": {"pedNodes": [[0, 0, 0], [10, 0, 1]]})"));
    EXPECT_EQ(s.world.pedNodes.layout, PedNodes::Layout::points);
    ASSERT_EQ(s.world.pedNodes.points.size(), 2u);
    EXPECT_EQ(s.world.pedNodes.points[1], (Vec3{10, 0, 1}));
    EXPECT_EQ(ErrorOf(With(R"("world": {"pedNodes": [[0, 0, 0], [1, 2]]})")),
              "test.json: world.pedNodes[1]: expected an array of 3 numbers");
}

TEST(ScenarioLoader, SeatsAreCheckedAgainstVehiclesAndEachOther) {
    const std::string car = R"("vehicles": [{"id": "pc1", "model": 596, "pos": [0, 0, 0]}])";
    EXPECT_EQ(ErrorOf(With(car + R"(, "peds": [{"type": 6, "pos": [0,0,0], "vehicle": "pc1", "seat": 8}])")),
              "test.json: peds[0].seat: expected a whole number from 0 to 7");
    EXPECT_EQ(ErrorOf(With(car + R"(, "peds": [{"type": 6, "pos": [0,0,0], "vehicle": "pc1",
                                                "seat": "back"}])")),
              "test.json: peds[0].seat: expected \"driver\" or a passenger seat 0 to 7");
    EXPECT_EQ(ErrorOf(With(R"("peds": [{"type": 6, "pos": [0,0,0], "seat": 1}])")),
              "test.json: peds[0].seat: a seat needs a vehicle");
    EXPECT_EQ(ErrorOf(With(car + R"(, "peds": [{"id": "a", "type": 6, "pos": [0,0,0], "vehicle": "pc1"},
                                              {"id": "b", "type": 6, "pos": [0,0,0], "vehicle": "pc1"}])")),
              "test.json: peds[1].seat: the driver's seat of \"pc1\" is already taken by \"a\"");
    EXPECT_EQ(ErrorOf(R"({"durationMs": 1, "player": {"vehicle": "pc2"}})"),
              "test.json: player.vehicle: no vehicle with id \"pc2\"");
    Scenario s = Parse(With(car + R"(, "peds": [{"type": 6, "pos": [0,0,0], "vehicle": "pc1", "seat": 0},
                                              {"type": 6, "pos": [0,0,0], "vehicle": "pc1", "seat": 1}])"));
    EXPECT_EQ(s.peds[1].seat, 1);
}

TEST(ScenarioLoader, IdsAreUniqueAndReferencesResolve) {
    const std::string objects = R"("peds": [{"id": "cop1", "type": 6, "pos": [0, 0, 0]}],
                                   "vehicles": [{"id": "pc1", "model": 596, "pos": [0, 0, 0]}])";
    EXPECT_EQ(ErrorOf(With(R"("peds": [{"id": "x", "type": 6, "pos": [0,0,0]}],
                              "vehicles": [{"id": "x", "model": 596, "pos": [0,0,0]}])")),
              "test.json: peds[0].id: duplicate id \"x\" (already used at vehicles[0].id)");
    EXPECT_EQ(ErrorOf(With(R"("peds": [{"id": "player", "type": 6, "pos": [0,0,0]}])")),
              "test.json: peds[0].id: duplicate id \"player\" (already used at player)");
    EXPECT_EQ(ErrorOf(With(objects + R"(, "events": [{"at": 1, "do": "hostCriminal", "id": "cop9"}])")),
              "test.json: events[0].id: no ped with id \"cop9\"");
    EXPECT_EQ(ErrorOf(With(objects + R"(, "events": [{"at": 1, "do": "remove", "id": "nobody"}])")),
              "test.json: events[0].id: no ped or vehicle with id \"nobody\"");
    EXPECT_EQ(ErrorOf(With(objects + R"(, "events": [{"at": 1, "do": "hostMission", "vehicle": "cop1",
                                                      "mission": 2}])")),
              "test.json: events[0].vehicle: \"cop1\" is a ped, not a vehicle");
    EXPECT_EQ(ErrorOf(With(objects + R"(, "events": [{"at": 1, "do": "remove", "id": "player"}])")),
              "test.json: events[0].id: \"player\" is the player, not a ped or vehicle");
    // The player counts as a ped where damage and probes are concerned.
    Scenario s = Parse(With(objects + R"(, "events": [{"at": 1, "do": "damage", "target": "player",
                                                       "source": "pc1", "amount": 10}],
                                          "expect": [{"at": 5, "probe": "ped:player.health", "min": 1}])"));
    EXPECT_EQ(s.events[0].target, "player");
    EXPECT_EQ(s.events[0].source, "pc1");
}

TEST(ScenarioLoader, EventsRunInTimeOrderWithFileOrderBreakingTies) {
    // Times scrambled over the file, many sharing one time, so that the sort's moves form long cycles.
    std::string events;
    for (int i = 0; i < 60; ++i) {
        events += (i == 0 ? "" : ", ") + std::string(R"({"at": )") + std::to_string((i * 7) % 10 * 100) +
                  R"(, "do": "playerMove", "to": [)" + std::to_string(i) + R"(, 0, 0], "speed": 5})";
    }
    const Scenario s = Parse(With(R"("events": [)" + events + "]"));
    ASSERT_EQ(s.events.size(), 60u);
    for (std::size_t k = 0; k < s.events.size(); ++k) {
        const Event& e = s.events[k];
        EXPECT_EQ(e.to.x, static_cast<float>(e.sourceIndex)) << "event " << k << " lost its fields";
        if (k > 0) {
            const Event& before = s.events[k - 1];
            EXPECT_LT(std::pair(before.atMs, before.sourceIndex), std::pair(e.atMs, e.sourceIndex)) << k;
        }
    }
}

TEST(ScenarioLoader, SpawnedIdsExistFromTheirEventOnUntilRemoved) {
    const std::string spawn =
        R"({"at": 3000, "do": "spawn", "ped": {"id": "cop9", "type": 6, "pos": [5, 5, 0]}})";
    // Listed later in the file but earlier in time: the task comes after the spawn, which is fine.
    Scenario s =
        Parse(With(R"("events": [{"at": 4000, "do": "hostTask", "id": "cop9", "task": 1103}, )" + spawn +
                   R"(, {"at": 3000, "do": "hostCriminal", "id": "cop9"}],
                               "expect": [{"at": 4000, "probe": "ped:cop9.suppressed", "eq": 0}])"));
    ASSERT_EQ(s.events.size(), 3u);
    EXPECT_EQ(s.events[0].kind, EventKind::spawn);
    EXPECT_EQ(s.events[0].sourceIndex, 1u);
    EXPECT_EQ(s.events[1].kind, EventKind::hostCriminal);  // same time as the spawn: file order
    EXPECT_EQ(s.events[2].kind, EventKind::hostTask);
    EXPECT_EQ(s.events[2].task, 1103);
    ASSERT_NE(s.events[0].spawnPed, nullptr);
    EXPECT_EQ(s.events[0].spawnPed->pos, (Vec3{5, 5, 0}));

    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 2000, "do": "hostCriminal", "id": "cop9"}, )" + spawn + "]")),
              "test.json: events[0].id: \"cop9\" does not exist yet at 2000 ms "
              "(spawned at 3000 ms by events[1])");
    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 3000, "do": "hostCriminal", "id": "cop9"}, )" + spawn + "]")),
              "test.json: events[0].id: \"cop9\" does not exist yet at 3000 ms "
              "(spawned at 3000 ms by events[1])");
    EXPECT_EQ(ErrorOf(With(R"("events": [)" + spawn + R"(, {"at": 3500, "do": "remove", "id": "cop9"},
                                         {"at": 3600, "do": "pedMoveTo", "id": "cop9", "to": [0,0,0],
                                          "speed": 2}])")),
              "test.json: events[2].id: \"cop9\" no longer exists at 3600 ms (removed by events[1])");
    EXPECT_EQ(ErrorOf(With(R"("events": [)" + spawn + "," + spawn + "]")),
              "test.json: events[1].ped.id: duplicate id \"cop9\" (already used at events[0].ped.id)");
    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 1, "do": "spawn"}])")),
              "test.json: events[0]: spawn needs exactly one of ped or vehicle");

    // A spawned ped may sit in a spawned vehicle, but only once the vehicle is there.
    const std::string car =
        R"({"at": 100, "do": "spawn", "vehicle": {"id": "pc9", "model": 596, "pos": [0,0,0]}})";
    const std::string driver =
        R"({"at": AT, "do": "spawn", "ped": {"id": "d", "type": 6, "pos": [0,0,0], "vehicle": "pc9"}})";
    auto at = [&](const std::string& ms) { return std::string(driver).replace(driver.find("AT"), 2, ms); };
    EXPECT_NO_THROW(Parse(With(R"("events": [)" + car + "," + at("100") + "]")));
    EXPECT_EQ(ErrorOf(With(R"("events": [)" + car + "," + at("50") + "]")),
              "test.json: events[1].ped.vehicle: \"pc9\" does not exist yet at 50 ms (spawned at 100 ms by "
              "events[0])");
}

TEST(ScenarioLoader, EventFieldsAndDefaults) {
    Scenario s = Parse(With(R"("vehicles": [{"id": "pc1", "model": 596, "pos": [0, 0, 0]}],
        "events": [
          {"at": 1, "do": "playerWarp", "to": [1, 2, 3]},
          {"at": 2, "do": "playerWarp", "to": [1, 2, 3], "heading": 45},
          {"at": 3, "do": "playerEnter", "vehicle": "pc1"},
          {"at": 4, "do": "playerEnter", "vehicle": "pc1", "seat": 0},
          {"at": 5, "do": "key", "key": "f10", "forMs": 200},
          {"at": 6, "do": "hostLawFlag", "vehicle": "pc1", "on": false},
          {"at": 7, "do": "hostCopCarCounter", "value": -2},
          {"at": 8, "do": "playerFire", "weapon": 22, "forMs": 500},
          {"at": 9, "do": "wanted", "level": 0}
        ])"));
    ASSERT_EQ(s.events.size(), 9u);
    EXPECT_FALSE(s.events[0].heading.has_value());
    EXPECT_EQ(s.events[1].heading, 45.0f);
    EXPECT_EQ(s.events[2].seat, kDriverSeat);
    EXPECT_EQ(s.events[3].seat, 0);
    EXPECT_EQ(s.events[4].key, "F10");
    EXPECT_EQ(s.events[4].keyCode, 0x79);
    EXPECT_EQ(s.events[4].forMs, 200u);
    EXPECT_FALSE(s.events[5].on);
    EXPECT_EQ(s.events[6].value, -2);
    EXPECT_EQ(s.events[7].weapon, 22);
    EXPECT_EQ(EventKindName(s.events[5].kind), "hostLawFlag");

    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 5, "do": "key", "key": "F13", "forMs": 1}])")).substr(0, 50),
              "test.json: events[0].key: unknown key name \"F13\" (");
    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 5, "do": "playerFire", "weapon": 22}])")),
              "test.json: events[0].forMs: missing (required)");
}

TEST(ScenarioLoader, HostEventsAndExitTimes) {
    Scenario s = Parse(With(R"("vehicles": [{"id": "pc1", "model": 596, "pos": [0, 0, 0], "leaveMs": 2500}],
        "peds": [{"id": "cop", "type": 6, "pos": [0, 0, 0], "leaveMs": 300}, {"id": "cop2", "type": 6, "pos": [0, 0, 0]}],
        "events": [
          {"at": 1, "do": "hostCriminal", "id": "cop"},
          {"at": 2, "do": "hostCriminal", "id": "cop", "slot": 4},
          {"at": 3, "do": "hostTask", "id": "cop", "task": 1103},
          {"at": 4, "do": "hostTask", "id": "cop", "task": 1103, "forMs": 700},
          {"at": 5, "do": "hostMission", "vehicle": "pc1", "mission": 200},
          {"at": 6, "do": "pedType", "id": "cop", "type": 4}
        ])"));
    ASSERT_EQ(s.events.size(), 6u);
    EXPECT_EQ(s.vehicles[0].leaveMs, 2500u);
    EXPECT_EQ(s.peds[0].leaveMs, 300u);
    EXPECT_FALSE(s.peds[1].leaveMs.has_value());
    EXPECT_EQ(s.events[0].slot, -1);
    EXPECT_EQ(s.events[1].slot, 4);
    EXPECT_EQ(s.events[2].forMs, 0u);
    EXPECT_EQ(s.events[3].forMs, 700u);
    EXPECT_EQ(s.events[4].mission, 200);
    EXPECT_EQ(s.events[5].pedType, 4);
    EXPECT_EQ(EventKindName(s.events[5].kind), "pedType");

    const std::string cop = R"("peds": [{"id": "cop", "type": 6, "pos": [0, 0, 0]}], )";
    EXPECT_EQ(ErrorOf(With(cop + R"("events": [{"at": 1, "do": "hostCriminal", "id": "cop", "slot": 5}])")),
              "test.json: events[0].slot: expected a whole number from 0 to 4");
    EXPECT_EQ(ErrorOf(With(R"("vehicles": [{"id": "v", "model": 596, "pos": [0, 0, 0]}],
        "events": [{"at": 1, "do": "hostMission", "vehicle": "v", "mission": 256}])")),
              "test.json: events[0].mission: expected a whole number from -128 to 255");
    EXPECT_EQ(ErrorOf(With(R"("peds": [{"id": "cop", "type": 6, "pos": [0, 0, 0], "leaveMs": 0}])")),
              "test.json: peds[0].leaveMs: expected a whole number from 1 to 2147483647");
}

TEST(ScenarioLoader, ExpectationForms) {
    Scenario s = Parse(With(R"("peds": [{"id": "cop1", "type": 6, "pos": [0, 0, 0]}],
        "expect": [
          {"log": "a*", "after": 100, "by": 200},
          {"noLog": "b"},
          {"logCount": "c", "min": 1},
          {"logOrder": ["d", "e"]},
          {"at": 10, "probe": "ped:cop1.suppressed", "eq": true},
          {"at": 10, "probe": "pedRange", "near": 1.5, "tol": 0.1},
          {"at": 10, "probe": "message", "eq": "Stars faded"},
          {"at": 10, "probe": "scriptCommands:05f5", "min": 1, "max": 3}
        ])"));
    ASSERT_EQ(s.expect.size(), 8u);
    EXPECT_EQ(s.expect[0].afterMs, 100u);
    EXPECT_EQ(s.expect[2].kind, ExpectKind::logCount);
    EXPECT_FALSE(s.expect[2].maxCount.has_value());
    EXPECT_EQ(s.expect[3].patterns, (std::vector<std::string>{"d", "e"}));
    EXPECT_EQ(s.expect[4].eq, 1.0);
    EXPECT_EQ(s.expect[4].probe.id, "cop1");
    EXPECT_EQ(s.expect[5].tol, 0.1);
    EXPECT_EQ(s.expect[6].eqText, "Stars faded");
    EXPECT_EQ(s.expect[7].probe.scriptCommand, 0x05F5);

    auto expectError = [](const std::string& expectation) {
        const std::string cop = R"("peds": [{"id": "cop1", "type": 6, "pos": [0, 0, 0]}])";
        return ErrorOf(With(cop + R"(, "expect": [)" + expectation + "]"));
    };
    EXPECT_EQ(expectError("{}"),
              "test.json: expect[0]: expected one of log, noLog, logCount, logOrder or probe");
    EXPECT_EQ(expectError(R"({"log": "a", "noLog": "b"})"),
              "test.json: expect[0]: give only one of log, noLog, logCount, logOrder, probe "
              "(found log and noLog)");
    EXPECT_EQ(expectError(R"({"log": "a", "at": 5})"),
              "test.json: expect[0].at: unknown key (known here: log, by, after)");
    EXPECT_EQ(expectError(R"({"log": "a", "by": 5, "after": 6})"),
              "test.json: expect[0].after: later than by, so the window is empty");
    EXPECT_EQ(expectError(R"({"logCount": "a"})"), "test.json: expect[0]: logCount needs min or max");
    EXPECT_EQ(expectError(R"({"logOrder": []})"),
              "test.json: expect[0].logOrder: expected at least one pattern");
    EXPECT_EQ(expectError(R"({"probe": "pedRange", "eq": 1})"),
              "test.json: expect[0].at: missing (required)");
    EXPECT_EQ(expectError(R"({"at": 1, "probe": "pedRange"})"),
              "test.json: expect[0]: a probe needs exactly one of eq, near (with tol), or min and/or max");
    EXPECT_EQ(expectError(R"({"at": 1, "probe": "pedRange", "eq": 1, "max": 2})"),
              "test.json: expect[0]: a probe needs exactly one of eq, near (with tol), or min and/or max");
    EXPECT_EQ(expectError(R"({"at": 1, "probe": "pedRange", "near": 1})"),
              "test.json: expect[0].near: near and tol go together");
    EXPECT_EQ(expectError(R"({"at": 1, "probe": "message", "min": 1})"),
              "test.json: expect[0]: message is text: only eq applies");
    EXPECT_EQ(expectError(R"({"at": 1, "probe": "pedRange", "eq": "1"})"),
              "test.json: expect[0].eq: expected a number");
    EXPECT_EQ(expectError(R"({"at": 1, "probe": "ped:cop2.x", "eq": 1})"),
              "test.json: expect[0].probe: no ped with id \"cop2\"");
    EXPECT_EQ(expectError(R"({"at": 1, "probe": "vehicle:cop1.x", "eq": 1})"),
              "test.json: expect[0].probe: \"cop1\" is a ped, not a vehicle");
    EXPECT_EQ(expectError(R"({"at": 1, "probe": "ped:cop1.helth", "eq": 1})").substr(0, 61),
              "test.json: expect[0].probe: unknown ped field \"helth\" (known:");
}

TEST(ScenarioLoader, ProbeNames) {
    EXPECT_EQ(ParseProbeName("starAlpha").kind, ProbeKind::starAlpha);
    EXPECT_EQ(ParseProbeName("copCarCounter").kind, ProbeKind::copCarCounter);
    EXPECT_EQ(ParseProbeName("scriptCommands:A").scriptCommand, 0xA);
    ProbeName ped = ParseProbeName("ped:cop.1.criminalHasPlayer");  // ids may hold dots
    EXPECT_EQ(ped.kind, ProbeKind::ped);
    EXPECT_EQ(ped.id, "cop.1");
    EXPECT_EQ(ped.pedField, PedProbeField::criminalHasPlayer);
    ProbeName vehicle = ParseProbeName("vehicle:pc1.mission");
    EXPECT_EQ(vehicle.kind, ProbeKind::vehicle);
    EXPECT_EQ(vehicle.vehicleField, VehicleProbeField::mission);

    ProbeName arg = ParseProbeName("scriptArg:5D3.5");
    EXPECT_EQ(arg.kind, ProbeKind::scriptArg);
    EXPECT_EQ(arg.scriptCommand, 0x05D3);
    EXPECT_EQ(arg.index, 5);
    ProbeName drawn = ParseProbeName("drawnColour:1.14.b");
    EXPECT_EQ(drawn.kind, ProbeKind::drawnColour);
    EXPECT_EQ(drawn.index, 1);
    EXPECT_EQ(drawn.entry, 14);
    EXPECT_EQ(drawn.channel, 2);
    ProbeName table = ParseProbeName("hudColour:0.a");
    EXPECT_EQ(table.kind, ProbeKind::hudColour);
    EXPECT_EQ(table.entry, 0);
    EXPECT_EQ(table.channel, 3);
    const struct {
        const char* name;
        ProbeKind kind;
        int call;
        CallProbeField field;
        int arg;
    } calls[] = {{"scriptCall:12.cmd", ProbeKind::scriptCall, 12, CallProbeField::command, 0},
                 {"frameCall:0.arg.8", ProbeKind::frameCall, 0, CallProbeField::arg, 8},
                 {"scriptCall:3.argType.15", ProbeKind::scriptCall, 3, CallProbeField::argType, 15},
                 {"hostCall:2.address", ProbeKind::hostCall, 2, CallProbeField::address, 0},
                 {"hostCall:0.arg.4", ProbeKind::hostCall, 0, CallProbeField::arg, 4}};
    for (const auto& c : calls) {
        const ProbeName probe = ParseProbeName(c.name);
        EXPECT_EQ(probe.kind, c.kind) << c.name;
        EXPECT_EQ(probe.call, c.call) << c.name;
        EXPECT_EQ(probe.callField, c.field) << c.name;
        EXPECT_EQ(probe.entry, c.arg) << c.name;
    }
    EXPECT_TRUE(ParseProbeName("vehicle:pc1.target").IsText());
    EXPECT_FALSE(ParseProbeName("vehicle:pc1.cruise").IsText());

    for (const char* bad : {"",
                            "scriptCall:1",
                            "scriptCall:.cmd",
                            "scriptCall:1.address",
                            "scriptCall:1.arg",
                            "scriptCall:1.arg.16",
                            "frameCall:x.cmd",
                            "hostCall:0.cmd",
                            "hostCall:0.argType.1",
                            "pedrange",
                            "starAlpha:1",
                            "scriptCommands:",
                            "scriptCommands:12345",
                            "scriptCommands:05G5",
                            "ped:cop1",
                            "ped:.x",
                            "ped:cop1.z.",
                            "vehicle:pc1.z",
                            "truck:pc1.x",
                            "scriptArg:05D3",
                            "scriptArg:05D3.",
                            "scriptArg:05D3.16",
                            "scriptArg:05D3.1.2",
                            "drawnColour:0.15.r",
                            "drawnColour:0.0",
                            "drawnColour:0.0.x",
                            "drawnColour:0.0.rg",
                            "drawnColour:1.r",
                            "hudColour:15.r",
                            "hudColour:0.0.r",
                            "hudColour:-1.r",
                            "hudColour:.r"}) {
        EXPECT_THROW(ParseProbeName(bad), std::invalid_argument) << bad;
    }
}

TEST(ScenarioLoader, LoadsFilesAndNamesMissingOnes) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "vigilor_loader_test";
    std::filesystem::create_directories(dir);
    std::filesystem::path file = dir / "night-chase.json";
    std::ofstream(file) << With(R"("seed": 9)");
    Scenario s = LoadScenarioFile(file);
    EXPECT_EQ(s.name, "night-chase");
    EXPECT_EQ(s.seed, 9u);
    EXPECT_EQ(s.sourceName, file.string());

    std::filesystem::path missing = dir / "missing.json";
    try {
        LoadScenarioFile(missing);
        FAIL() << "no error for a missing file";
    } catch (const ScenarioError& error) {
        EXPECT_EQ(std::string(error.what()), missing.string() + ": cannot open the file");
    }
    std::filesystem::remove_all(dir);
}

TEST(ScenarioLoader, FilesPastTheSizeLimitOrWithoutEndAreRefused) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vigilor_loader_size_test";
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "big.json";
    std::ofstream(file) << With(R"("description": ")" + std::string(2000, 'x') + "\"");
    const std::string expected = ": larger than the limit of 1000 bytes for a scenario file";
    try {
        LoadScenarioFile(file, 1000);
        ADD_FAILURE() << "no error for a file past the limit";
    } catch (const ScenarioError& error) {
        EXPECT_EQ(std::string(error.what()), file.string() + expected);
    }
    EXPECT_NO_THROW(LoadScenarioFile(file, 4000));
    // A device has no size to check first; the read itself stops at the limit.
    try {
        LoadScenarioFile("/dev/zero", 1000);
        ADD_FAILURE() << "no error for /dev/zero";
    } catch (const ScenarioError& error) {
        EXPECT_EQ(std::string(error.what()), "/dev/zero" + expected);
    }
    std::filesystem::remove_all(dir);
}

TEST(ScenarioLoader, ManyEventsLoadAndDuplicatesAreFoundAmongThem) {
    // The duplicate-key check walks the text once; it must still name the right element.
    std::string events;
    for (int i = 0; i < 20000; ++i) events += R"({"at": )" + std::to_string(i) + R"(, "do": "playerDie"},)";
    const Scenario s = Parse(With(R"("events": [)" + events + R"({"at": 1, "do": "playerDie"}])"));
    EXPECT_EQ(s.events.size(), 20001u);
    EXPECT_EQ(ErrorOf(With(R"("events": [)" + events + R"({"at": 1, "do": "playerDie", "at": 2}])")),
              "test.json: events[20000].at: duplicate key");

    std::string keys;
    for (int i = 0; i <= 10000; ++i) keys += (i == 0 ? "" : ",") + ("\"K" + std::to_string(i) + "\": 1");
    EXPECT_EQ(ErrorOf(With(R"("settings": {)" + keys + "}")),
              "test.json: settings.K10000: more than 10000 keys in one object");
}

TEST(ScenarioLoader, PositionsStayWithinTheDocumentedBound) {
    EXPECT_NO_THROW(Parse(With(R"("peds": [{"type": 6, "pos": [100000, -100000, 0]}])")));
    EXPECT_EQ(ErrorOf(With(R"("peds": [{"type": 6, "pos": [0, 100001, 0]}])")),
              "test.json: peds[0].pos: expected a number from -100000 to 100000");
    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 1, "do": "playerWarp", "to": [3e38, 0, 0]}])")),
              "test.json: events[0].to: expected a number from -100000 to 100000");
    EXPECT_EQ(ErrorOf(With(R"("events": [{"at": 1, "do": "playerMove", "to": [4000, 1e6, 0], "speed": 5}])")),
              "test.json: events[0].to: expected a number from -100000 to 100000");
    EXPECT_EQ(ErrorOf(With(R"("world": {"noGround": [{"min": [0, 0], "max": [1e9, 1]}]})")),
              "test.json: world.noGround[0].max: expected a number from -100000 to 100000");
    EXPECT_EQ(ErrorOf(With(R"("world": {"groundZ": -2e5})")),
              "test.json: world.groundZ: expected a number from -100000 to 100000");
}

TEST(ScenarioLoader, APedHasThirteenWeaponSlots) {
    std::string weapons;
    for (int i = 0; i < 13; ++i) weapons += R"({"type": 22, "ammo": 1},)";
    EXPECT_EQ(Parse(With(R"("peds": [{"type": 6, "pos": [0, 0, 0], "weapons": [)" +
                         weapons.substr(0, weapons.size() - 1) + "]}]"))
                  .peds[0]
                  .weapons.size(),
              13u);
    EXPECT_EQ(ErrorOf(With(R"("peds": [{"type": 6, "pos": [0, 0, 0], "weapons": [)" + weapons +
                           R"({"type": 31, "ammo": 1}]}])")),
              "test.json: peds[0].weapons[13]: a ped has 13 weapon slots, all taken");
    EXPECT_EQ(
        ErrorOf(R"({"durationMs": 1, "player": {"weapons": [)" + weapons + R"({"type": 31, "ammo": 1}]}})"),
        "test.json: player.weapons[13]: a ped has 13 weapon slots, all taken");
}

// `count` peds (or vehicles) at the start.
std::string Many(const std::string& key, int count) {
    const std::string one =
        key == "peds" ? R"({"type": 7, "pos": [0, 0, 0]})" : R"({"model": 400, "pos": [0, 0, 0]})";
    std::string list;
    for (int i = 0; i < count; ++i) list += (i == 0 ? "" : ",") + one;
    return "\"" + key + "\": [" + list + "]";
}

TEST(ScenarioLoader, ThePoolsMustHoldEveryPedAndVehicleAtEveryMoment) {
    EXPECT_NO_THROW(Parse(With(Many("peds", 139) + "," + Many("vehicles", 110))));
    EXPECT_EQ(ErrorOf(With(Many("peds", 140))),
              "test.json: peds[139]: the ped pool is full: it has 140 slots, the player's included");
    EXPECT_EQ(ErrorOf(With(Many("vehicles", 111))),
              "test.json: vehicles[110]: the vehicle pool is full: it has 110 slots");

    const std::string spawnPed = R"({"at": 500, "do": "spawn", "ped": {"type": 7, "pos": [0, 0, 0]}})";
    const std::string spawnCar = R"({"at": 500, "do": "spawn", "vehicle": {"model": 400, "pos": [0, 0, 0]}})";
    EXPECT_EQ(ErrorOf(With(Many("peds", 139) + R"(, "events": [)" + spawnPed + "]")),
              "test.json: events[0].ped: the ped pool is full: it has 140 slots at 500 ms");
    EXPECT_EQ(ErrorOf(With(Many("vehicles", 110) + R"(, "events": [)" + spawnCar + "]")),
              "test.json: events[0].vehicle: the vehicle pool is full: it has 110 slots at 500 ms");

    // A slot freed before the spawn, in run order, makes room; one freed after it does not.
    std::string peds = Many("peds", 139);
    peds.replace(peds.find("{"), 1, R"({"id": "gone", )");
    const std::string removeEarly = R"({"at": 100, "do": "remove", "id": "gone"})";
    const std::string removeLate = R"({"at": 900, "do": "remove", "id": "gone"})";
    EXPECT_NO_THROW(Parse(With(peds + R"(, "events": [)" + spawnPed + "," + removeEarly + "]")));
    EXPECT_EQ(ErrorOf(With(peds + R"(, "events": [)" + spawnPed + "," + removeLate + "]")),
              "test.json: events[0].ped: the ped pool is full: it has 140 slots at 500 ms");
    // Removing a vehicle frees no ped slot.
    EXPECT_EQ(
        ErrorOf(With(peds + R"(, "vehicles": [{"id": "car", "model": 400, "pos": [0, 0, 0]}], "events": [)" +
                     R"({"at": 100, "do": "remove", "id": "car"},)" + spawnPed + "]")),
        "test.json: events[1].ped: the ped pool is full: it has 140 slots at 500 ms");
}

}  // namespace
}  // namespace sandbox
