// The replay: what the log lines tell, the page that carries the data, and recorded runs.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "replay/log_state.h"
#include "replay/replay_page.h"
#include "replay_data.h"

namespace {

using replay_test::Recorded;
using replay_test::ReplayData;
using sandbox::LogState;

TEST(LogStateTest, FollowsLossesSummariesAndTheScene) {
    LogState state;
    state.Read("wanted level started, level=2", {1, 2, 0}, 100);
    EXPECT_TRUE(state.sceneValid);
    EXPECT_EQ(state.scene, (sandbox::Vec3{1, 2, 0}));
    EXPECT_EQ(state.sceneMs, 100u);
    state.Read("cop lost the player: ped=0x20000200 inCar=0", {});
    state.Read("cop forced to stay lost until out of the parked car: ped=0x20000400", {});
    EXPECT_TRUE(state.Lost("0x20000200"));
    EXPECT_TRUE(state.Lost("0x20000400"));
    // Each by the rule its line names: his grace time, or his parked car.
    EXPECT_EQ(state.LostBy(sandbox::PointerKey("0x20000200")), LogState::Loss::grace);
    EXPECT_EQ(state.LostBy(sandbox::PointerKey("0x20000400")), LogState::Loss::parkedCar);
    state.Read("cop is chasing again: ped=0x20000200", {});
    EXPECT_FALSE(state.Lost("0x20000200"));
    state.Read("cops: total=3 seeing=1 lost=1 sceneShared=1", {});
    EXPECT_EQ(state.seeing, 1);
    EXPECT_EQ(state.lost, 1);
    state.FollowPlayer({7, 8, 0}, 900);
    EXPECT_EQ(state.scene, (sandbox::Vec3{7, 8, 0}));
    EXPECT_EQ(state.sceneMs, 900u);  // confirmed, not only moved
    state.FollowPlayer({7, 8, 0}, 1050);
    EXPECT_EQ(state.sceneMs, 1050u);
    state.Read("cops: total=3 seeing=1 lost=1 sceneShared=0", {});
    state.FollowPlayer({9, 9, 0}, 1200);  // a helicopter that keeps what it sees does not move the scene
    EXPECT_EQ(state.scene, (sandbox::Vec3{7, 8, 0}));
    EXPECT_EQ(state.sceneMs, 1050u);
    state.Read("gunshot heard: weapon=22 range=90 scene moved to 12.5,-3.0", {0, 0, 1}, 1300);
    EXPECT_EQ(state.scene, (sandbox::Vec3{12.5f, -3.0f, 1}));
    EXPECT_EQ(state.sceneMs, 1300u);
    state.Read("wanted level ended", {});
    EXPECT_FALSE(state.sceneValid);
    EXPECT_FALSE(state.episode);
    EXPECT_FALSE(state.Lost("0x20000400"));
    EXPECT_EQ(state.seeing, 0);
    EXPECT_EQ(state.lost, 0);
    // The next episode stands on the last summary written until a new one differs from it.
    state.Read("wanted level started, level=1", {}, 2000);
    EXPECT_EQ(state.seeing, 1);
    EXPECT_EQ(state.lost, 1);
}

TEST(ReplayPageTest, NoTextCanCloseTheDataElementOrMoveIt) {
    std::ostringstream page;
    sandbox::WriteReplayPage(page, "<b>x</b> /*DATA*/",
                             [](std::ostream& out) { out << R"({"log":[[1,"\u003c/script\u003e"]]})"; });
    const std::string text = page.str();
    EXPECT_EQ(text.find("<b>"), std::string::npos);
    const auto open = text.find("id=\"replay-data\">") + 17;
    const auto close = text.find("</script>", open);
    EXPECT_EQ(nlohmann::json::parse(text.substr(open, close - open))["log"][0][1], "</script>");
}

// A car with a driver and a passenger facing the player, a cop far behind him, and the wanted
// level cleared at 4 s.
constexpr const char* kPatrol =
    R"({ "name": "rec", "frameMs": 50, "durationMs": 6000, "host": { "pursuit": false },
    "settings": { "SightRange": 40 },
    "player": { "pos": [0, 0, 0], "wanted": 1 },
    "peds": [ { "id": "driver", "type": 6, "pos": [0, -12, 0], "vehicle": "car", "seat": "driver" },
              { "id": "passenger", "type": 6, "pos": [0, -12, 0], "vehicle": "car", "seat": 0 },
              { "id": "away", "type": 6, "pos": [0, 60, 0] } ],
    "vehicles": [ { "id": "car", "model": 596, "pos": [0, -12, 0], "heading": 0 } ],
    "events": [ { "at": 4000, "do": "wanted", "level": 0 } ] })";

TEST(ReplayRecorderTest, SamplesEveryDecisionAndAtLeastEvery150Ms) {
    const Recorded rec(kPatrol);
    const ReplayData& d = *rec.data;
    std::set<int> times;
    for (int s = 0; s < d.Samples(); ++s) times.insert(d.Time(s));
    for (const auto& line : rec.run.outcome.record.log)
        EXPECT_TRUE(times.contains(static_cast<int>(line.runMs)));
    // Every frame in which the plugin asked whether a cop sees the player is a sample too.
    for (const auto& item : d.json["sight"]) EXPECT_LT(item[0].get<int>(), d.Samples());
    for (int s = 1; s < d.Samples(); ++s) EXPECT_LE(d.Time(s) - d.Time(s - 1), 150 + 50) << s;
    EXPECT_EQ(d.json["log"].size(), rec.run.outcome.record.log.size());
    EXPECT_EQ(d.json["settings"]["SightRange"], 40.0);  // as the module read it
}

TEST(ReplayRecorderTest, CopsDrawnSeeingAreTheCopsThePluginCountsAndTheEndClearsThem) {
    const Recorded rec(kPatrol);
    const ReplayData& d = *rec.data;
    const int driver = d.Index("cops", "driver");
    const int passenger = d.Index("cops", "passenger");
    const int away = d.Index("cops", "away");
    ASSERT_GE(passenger, 0);
    bool passengerSaw = false;
    bool awayLost = false;
    for (int s = 0; s < d.Samples(); ++s) {
        const nlohmann::json counts = d.Value("sample", 0, "counts", s);
        int drawnSeeing = 0;
        for (int k : d.Present("cops", s)) drawnSeeing += d.Value("cops", k, "state", s) == "seeing";
        if (d.Time(s) < 4000) {
            EXPECT_EQ(drawnSeeing, counts["seeing"].get<int>()) << "at " << d.Time(s);
            passengerSaw |= d.Value("cops", passenger, "state", s) == "seeing";
            awayLost |= d.Value("cops", away, "state", s) == "lost";
        } else if (d.Value("sample", 0, "episode", s) == false) {
            for (int k : {driver, passenger, away})
                EXPECT_EQ(d.Value("cops", k, "state", s), "plain") << d.Time(s);
            EXPECT_EQ(counts["seeing"], 0);
            EXPECT_EQ(counts["lost"], 0);
            EXPECT_TRUE(d.Value("sample", 0, "scene", s).is_null());
        }
    }
    EXPECT_TRUE(passengerSaw);
    EXPECT_TRUE(awayLost);
    EXPECT_EQ(d.Value("sample", 0, "episode", d.Samples() - 1), false);
    EXPECT_EQ(d.Value("cops", passenger, "seat", 0), 0);
    EXPECT_EQ(d.Value("cops", passenger, "vehicle", 0), "car");
}

TEST(ReplayRecorderTest, SightQuestionsGoToTheCopWhoAskedWithWhatBlockedThem) {
    // One cop sees the player over open ground, one looks at him through a wall.
    const Recorded rec(R"({ "name": "walls", "frameMs": 50, "durationMs": 1000, "host": { "pursuit": false },
        "player": { "pos": [0, 0, 0], "wanted": 1 },
        "world": { "boxes": [ { "id": "open", "min": [100, 100, 0], "max": [110, 110, 5] },
                              { "id": "wall", "min": [-1, 10, 0], "max": [1, 12, 5] } ] },
        "peds": [ { "id": "clear", "type": 6, "pos": [0, -20, 0], "heading": 0 },
                  { "id": "behind", "type": 6, "pos": [0, 20, 0], "heading": 180 } ] })");
    const ReplayData& d = *rec.data;
    const int clear = d.Index("cops", "clear");
    const int behind = d.Index("cops", "behind");
    int asked[2] = {0, 0};
    for (const auto& item : d.json["sight"]) {
        const int k = item[1];
        ASSERT_TRUE(k == clear || k == behind) << item;
        ++asked[k == behind];
        if (k == clear) {
            EXPECT_EQ(item, (nlohmann::json{item[0], clear, 1}));  // the usual eye-to-eye question, clear
        } else {
            EXPECT_EQ(item[2], 0);
            EXPECT_EQ(item[3], 1);  // the second box
        }
    }
    EXPECT_GT(asked[0], 3);
    EXPECT_EQ(asked[0], asked[1]);
    const auto last = d.Samples() - 1;
    EXPECT_EQ(d.Value("cops", clear, "state", last), "seeing");
    EXPECT_NE(d.Value("cops", behind, "state", last), "seeing");
    const auto [x, y] = d.Position("cops", behind, last);
    EXPECT_DOUBLE_EQ(x, 0.0);
    EXPECT_DOUBLE_EQ(y, 20.0);
}

TEST(ReplayRecorderTest, SightQuestionsGoToTheLiveCopsWhoAskedAmongOthersInOnePlace) {
    struct Case {
        const char* name;
        const char* peds;
        const char* vehicles;
        std::vector<const char*> asking;
    };
    // Crews share their seat position, so the place a question comes from does not tell them apart.
    const Case cases[] = {
        {"a dead driver asks nothing",
         R"({ "id": "dead", "type": 6, "health": 0, "pos": [0, -20, 0], "vehicle": "car", "seat": "driver" },
            { "id": "alive", "type": 6, "pos": [0, -20, 0], "vehicle": "car", "seat": 0 })",
         R"({ "id": "car", "model": 596, "pos": [0, -20, 0] })",
         {"alive"}},
        {"of two crews in one place, the one facing the player asks",
         R"({ "id": "away1", "type": 6, "pos": [0, -20, 0], "vehicle": "away", "seat": "driver" },
            { "id": "away2", "type": 6, "pos": [0, -20, 0], "vehicle": "away", "seat": 0 },
            { "id": "facing1", "type": 6, "pos": [0, -20, 0], "vehicle": "facing", "seat": "driver" },
            { "id": "facing2", "type": 6, "pos": [0, -20, 0], "vehicle": "facing", "seat": 0 })",
         R"({ "id": "away", "model": 596, "pos": [0, -20, 0], "heading": 180 },
            { "id": "facing", "model": 596, "pos": [0, -20, 0] })",
         {"facing1", "facing2"}},
    };
    for (const Case& c : cases) {
        const Recorded rec(std::string(R"({ "name": "crews", "frameMs": 50, "durationMs": 500,
            "host": { "pursuit": false }, "player": { "pos": [0, 0, 0], "wanted": 1 }, "peds": [ )") +
                           c.peds + R"( ], "vehicles": [ )" + c.vehicles + " ] }");
        const ReplayData& d = *rec.data;
        std::set<std::string> asked;
        for (const auto& item : d.json["sight"]) {
            ASSERT_GE(item[1].get<int>(), 0) << c.name;
            asked.insert(d.json["cops"]["entities"][item[1].get<int>()]["id"].get<std::string>());
        }
        EXPECT_EQ(asked, std::set<std::string>(c.asking.begin(), c.asking.end())) << c.name;
        for (const char* id : c.asking)
            EXPECT_EQ(d.Value("cops", d.Index("cops", id), "sight", d.Samples() - 1)["sees"], true) << c.name;
    }
}

// Two cops lose the player behind a depot and search for him on foot: move orders and routes.
constexpr const char* kFootSearch =
    R"({ "name": "search", "seed": 7, "frameMs": 33, "durationMs": 30000, "host": { "pursuit": false },
    "settings": { "RunnerPercent": 0, "LookChance": 100, "MinMovesBetweenPauses": 2 },
    "world": { "boxes": [ { "id": "depot", "min": [-40, 20, 0], "max": [40, 30, 10] } ], "pedNodes": { "spacing": 10 } },
    "player": { "pos": [0, 0, 0], "wanted": 2 },
    "peds": [ { "id": "cop1", "type": 6, "pos": [0, -25, 0] }, { "id": "cop2", "type": 6, "pos": [120, 60, 0], "heading": 270 } ],
    "events": [ { "at": 500, "do": "playerMove", "to": [0, 150, 0], "speed": 7 } ] })";

TEST(ReplayRecorderTest, EveryOrderAndRouteShowsOnTheCopItWasFor) {
    const Recorded rec(kFootSearch);
    const ReplayData& d = *rec.data;
    const int cops[] = {d.Index("cops", "cop1"), d.Index("cops", "cop2")};
    // The last command naming each cop in a sample is his order from that sample on.
    std::map<std::pair<int, int>, nlohmann::json> lastOrder;  // (sample, handle) -> [command, args]
    for (const auto& row : d.json["orders"]) {
        if (row.size() < 3 || row[1] == "02C0") continue;
        const nlohmann::json args(row.begin() + 2, row.end());
        lastOrder[{row[0].get<int>(), args[0].get<int>()}] = {row[1], args};
    }
    int checked = 0;
    for (const int k : cops) {
        ASSERT_GE(k, 0);
        nlohmann::json previousRoute = "unset";
        int routes = 0;
        for (int s = 0; s < d.Samples(); ++s) {
            const nlohmann::json order = d.Value("cops", k, "order", s);
            if (!order.is_null() && order["t"] == d.Time(s)) {
                const auto it = lastOrder.find({s, order["args"][0].get<int>()});
                ASSERT_NE(it, lastOrder.end()) << s;
                EXPECT_EQ(it->second[0], order["command"]);
                EXPECT_EQ(it->second[1], order["args"]);
                ++checked;
            }
            const nlohmann::json route = d.Value("cops", k, "move", s);
            if (route != previousRoute) ++routes;
            previousRoute = route;
            if (route.is_array()) {
                EXPECT_EQ(route.size() % 2, 0u);  // x, y, x, y...
            }
        }
        EXPECT_GE(routes, 2) << "cop " << k << " walks a route";
    }
    EXPECT_GE(checked, 4);
    // Each change is written once: no change repeats the value before it.
    std::map<std::pair<int, int>, nlohmann::json> last;
    for (const auto& change : d.json["cops"]["changes"]) {
        const std::pair<int, int> key{change[1].get<int>(), change[2].get<int>()};
        const auto it = last.find(key);
        if (it != last.end()) {
            EXPECT_NE(it->second, change[3]) << change;
        }
        last[key] = change[3];
    }
}

}  // namespace
