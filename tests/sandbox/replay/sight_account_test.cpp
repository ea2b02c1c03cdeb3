// The replay's account of each cop's sight test: named by the condition the plugin decided it by, and
// in a busy town at every sample as many cops seeing as the plugin's own summary line counts.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "replay/sight_account.h"
#include "replay_data.h"
#include "world/world.h"

namespace {

using replay_test::Recorded;
using replay_test::ReplayData;

/// A wanted player at the origin, one cop as given, host police off; 50 ms frames, so the plugin's
/// first tick falls at 150 ms.
std::string OneCop(const std::string& cop, const std::string& settings, const std::string& more) {
    return R"({ "name": "one", "frameMs": 50, "durationMs": 300, "host": { "pursuit": false },
        "settings": { )" +
           settings + R"( }, "player": { "pos": [0, 0, 0], "wanted": 1 }, "peds": [ )" + cop + " ]" + more +
           " }";
}

std::string CopAt(float x, float y, float z, float heading, const std::string& seat = "") {
    char text[200];
    std::snprintf(text, sizeof text, R"({ "id": "cop", "type": 6, "pos": [%g, %g, %g], "heading": %g%s })",
                  static_cast<double>(x), static_cast<double>(y), static_cast<double>(z),
                  static_cast<double>(heading), seat.c_str());
    return text;
}

TEST(SightAccountTest, EachConditionIsNamedAsThePluginDecidedIt) {
    const std::string wall = R"(, "world": { "boxes": [ { "min": [-5, -11, 0], "max": [5, -9, 3] } ] })";
    const std::string heli = R"(, "vehicles": [ { "id": "h", "model": 497, "pos": [0, -2.9, 0] } ])";
    const std::string inHeli = R"(, "vehicle": "h", "seat": "driver")";
    struct Case {
        const char* name;
        std::string cop;
        std::string settings;
        std::string more;
        const char* by;
    };
    // Each at the boundary of its condition; the player lies straight north of a cop facing 0.
    const Case cases[] = {
        {"at the end of his range", CopAt(0, -45, 0, 0), "", "", "line of sight"},
        {"just beyond it", CopAt(0, -45.5f, 0, 0), "", "", "range"},
        {"close, facing away", CopAt(0, -2.9f, 0, 180), "", "", "close range"},
        {"the close range is strict", CopAt(0, -3, 0, 180), "", "", "cone"},
        {"close, but 4 m below", CopAt(0, -2, -4, 180), R"("CloseRange": 10)", "", "cone"},
        {"inside the edge of the cone", CopAt(0, -20, 0, 69), "", "", "line of sight"},
        {"outside it", CopAt(0, -20, 0, 71), "", "", "cone"},
        {"an all-round cone has no edge", CopAt(0, -20, 0, 180), R"("SightAngle": 359)", "", "line of sight"},
        {"right above the player: no direction", CopAt(0.001f, 0, 5, 180), R"("SightAngle": 10)", "",
         "line of sight"},
        {"behind a wall", CopAt(0, -20, 0, 0), "", wall, "line of sight"},
        {"beyond the listing, whatever his range", CopAt(0, -201, 0, 0), R"("SightRange": 300)", "",
         "not asked"},
        {"a helicopter's close range is its own", CopAt(0, -2.9f, 0, 180, inHeli),
         R"("CloseRange": 1, "HeliSightAngle": 10)", heli, "close range"},
    };
    for (const Case& c : cases) {
        const Recorded rec(OneCop(c.cop, c.settings, c.more));
        const ReplayData& d = *rec.data;
        const int last = d.Samples() - 1;
        const nlohmann::json sight = d.Value("cops", 0, "sight", last);
        EXPECT_EQ(sight["by"], c.by) << c.name;
        // Whatever named it, the outcome is the plugin's own.
        EXPECT_EQ(sight["sees"].get<bool>() ? 1 : 0, d.Value("sample", 0, "counts", last)["seeing"])
            << c.name;
    }
}

TEST(SightAccountTest, AlertWidensFromTheTickAfterTheLookUntilItsDeadlineOrItsEnd) {
    sandbox::SightSettings settings;
    settings.sightRange = 45;
    settings.sightAngle = 140;
    settings.alertRangeBonus = 10;
    settings.alertAngleBonus = 80;
    settings.disguiseRange = 8;
    sandbox::Ped ped("cop");
    ped.m_fHealth = 100;
    const sandbox::PointerKey pointer("0x20000200");
    struct Line {
        std::uint32_t runMs;
        const char* text;
    };
    struct Case {
        const char* name;
        std::vector<Line> lines;
        std::uint32_t tickMs;
        float range;
    };
    const Case cases[] = {
        {"not at the tick that gives it", {{1000, "looking about: ped=0x20000200 time=1500"}}, 1000, 45},
        {"from the next", {{1000, "looking about: ped=0x20000200 time=1500"}}, 1150, 55},
        {"up to its deadline", {{1000, "looking about: ped=0x20000200 time=1500"}}, 2499, 55},
        {"not at it", {{1000, "looking about: ped=0x20000200 time=1500"}}, 2500, 45},
        {"an aim counts a little past its time",
         {{1000, "aim scan: ped=0x20000200 weapon=22 time=1500"}},
         2650,
         55},
        {"still at the tick that ends it",
         {{1000, "looking about: ped=0x20000200 time=1500"}, {1300, "cop is chasing again: ped=0x20000200"}},
         1300,
         55},
        {"not after it",
         {{1000, "looking about: ped=0x20000200 time=1500"}, {1300, "defend: finished: ped=0x20000200"}},
         1450,
         45},
        {"another cop's look", {{1000, "looking about: ped=0x20000400 time=1500"}}, 1150, 45},
        {"the episode's end takes it",
         {{1000, "looking about: ped=0x20000200 time=1500"}, {1100, "wanted level ended"}},
         1150,
         45},
        {"disguised, to a cop the plugin has no record of",
         {{1000, "disguise: player is in an unknown vehicle (playerVeh=513 knownVeh=769)"}},
         1150,
         8},
    };
    for (const Case& c : cases) {
        sandbox::SightAccount account;
        account.UseSettings(settings);
        for (const Line& line : c.lines) account.Read(line.text, line.runMs);
        account.Begin({0, 0, 0}, c.tickMs, false);
        const auto cop = account.Of(0, ped, pointer, false, std::nullopt);
        ASSERT_TRUE(cop.view) << c.name;
        EXPECT_EQ(cop.view->range, c.range) << c.name;
        EXPECT_EQ(cop.view->alert, c.range == 55) << c.name;
    }
}

/// A town of blocks with cops on foot, in cars and in a helicopter, and a player who drives off,
/// changes cars unseen, runs the streets, hides, fires, and is let off and wanted again.
std::string BusyTown() {
    std::string boxes;
    for (int bx = -3; bx <= 3; ++bx) {
        for (int by = -3; by <= 3; ++by) {
            if (bx == 0 && by == 0) continue;
            const int x = bx * 40;
            const int y = by * 40;
            boxes += (boxes.empty() ? "" : ",") + std::string(R"({"min":[)") + std::to_string(x - 10) + "," +
                     std::to_string(y - 10) + R"(,0],"max":[)" + std::to_string(x + 10) + "," +
                     std::to_string(y + 10) + ",15]}";
        }
    }
    std::string peds;
    std::string vehicles =
        R"({"id":"getaway","model":400,"pos":[0,0,0]},{"id":"van","model":413,"pos":[200,20,0]},
        {"id":"heli","model":497,"pos":[0,-120,40],"lawEnforcer":true})";
    for (int i = 0; i < 60; ++i) {
        const float angle = static_cast<float>(i) * 0.7f;
        const float r = 12.0f + static_cast<float>(i % 13) * 11.0f;
        // Streets run between the blocks, 20 m off each multiple of 40.
        const float street = std::round((r * std::sin(angle) - 20.0f) / 40.0f) * 40.0f + 20.0f;
        std::string ped = R"({"id":"c)" + std::to_string(i) + R"(","type":6,"pos":[)" +
                          std::to_string(r * std::cos(angle)) + "," + std::to_string(street) +
                          R"(,0],"heading":)" + std::to_string(i * 37 % 360) +
                          R"(,"weapons":[{"type":22,"ammo":50}])";
        if (i < 16) {
            const std::string car = "car" + std::to_string(i / 2);
            if (i % 2 == 0) {
                vehicles += R"(,{"id":")" + car + R"(","model":596,"lawEnforcer":true,"pos":[)" +
                            std::to_string(r * std::cos(angle)) + "," + std::to_string(street) + ",0]}";
            }
            ped += R"(,"vehicle":")" + car + R"(","seat":)" + (i % 2 == 0 ? R"("driver")" : "0");
        } else if (i == 16) {
            ped += R"(,"vehicle":"heli","seat":"driver")";
        }
        peds += (peds.empty() ? "" : ",") + ped + "}";
    }
    return R"({ "name": "busy", "seed": 3, "frameMs": 33, "durationMs": 70000,
        "settings": { "LookChance": 50, "PursuitGraceMs": 2000, "DisguiseRange": 2 },
        "world": { "boxes": [)" +
           boxes + R"(], "pedNodes": { "spacing": 20 } },
        "player": { "pos": [0, 0, 0], "wanted": 3, "vehicle": "getaway", "seat": "driver",
                    "weapons": [{"type":22,"ammo":500}] },
        "peds": [)" +
           peds + "], \"vehicles\": [" + vehicles + R"(],
        "events": [
            { "at": 1000, "do": "playerMove", "to": [60, 20, 0], "speed": 12 },
            { "at": 10000, "do": "playerWarp", "to": [200, 24, 0] },
            { "at": 10200, "do": "playerExit" },
            { "at": 10500, "do": "playerEnter", "vehicle": "van", "seat": "driver" },
            { "at": 11000, "do": "playerMove", "to": [-100, 20, 0], "speed": 10 },
            { "at": 30000, "do": "playerExit" },
            { "at": 31000, "do": "playerMove", "to": [-100, 100, 0], "speed": 6 },
            { "at": 40000, "do": "playerFire", "weapon": 22, "forMs": 500 },
            { "at": 52000, "do": "wanted", "level": 0 },
            { "at": 56000, "do": "wanted", "level": 2 },
            { "at": 57000, "do": "playerMove", "to": [20, 100, 0], "speed": 6 } ] })";
}

TEST(SightAccountTest, EverySampleOfABusyTownCountsTheCopsThePluginCounts) {
    const Recorded rec(BusyTown());
    const ReplayData& d = *rec.data;
    const auto sight = d.Series("cops", "sight");
    const auto& log = d.json["log"];
    std::size_t line = 0;
    bool episode = false;
    int summarised = 0;
    int compared = 0;
    int maxSeeing = 0;
    for (int s = 0; s < d.Samples(); ++s) {
        // The plugin's own count: its latest summary line, written only when a count changed.
        for (; line < log.size() && log[line][0] <= d.Time(s); ++line) {
            const std::string text = log[line][1];
            int total = 0;
            if (text.starts_with("wanted level started")) episode = true;
            if (text == "wanted level ended") episode = false;
            std::sscanf(text.c_str(), "cops: total=%d seeing=%d", &total, &summarised);
        }
        if (!episode) continue;
        int seeing = 0;
        for (const int k : d.Present("cops", s)) {
            const auto& changes = sight[static_cast<std::size_t>(k)];
            const auto at =
                std::upper_bound(changes.begin(), changes.end(), s,
                                 [](int sample, const auto& change) { return sample < change.first; });
            seeing += at != changes.begin() && std::prev(at)->second["sees"] == true;
        }
        ASSERT_EQ(seeing, summarised) << "at " << d.Time(s) << " ms";
        ++compared;
        maxSeeing = std::max(maxSeeing, seeing);
    }
    // The run has the chase, the search and the second episode in it.
    EXPECT_GT(compared, 400);
    EXPECT_GE(maxSeeing, 8);
    EXPECT_TRUE(rec.run.Logged("disguise: player is in an unknown vehicle*"));
    EXPECT_TRUE(rec.run.Logged("looking about:*"));
    EXPECT_TRUE(rec.run.Logged("cop is chasing again:*"));
}

TEST(SightAccountTest, ACopLostByHisGraceTimeLastSawThePlayerMoreThanItAgo) {
    const Recorded rec(BusyTown());
    const ReplayData& d = *rec.data;
    const int grace = d.json["settings"]["PursuitGraceMs"];
    const auto lostBy = d.Series("cops", "lostBy");
    const auto saw = d.Series("cops", "sawMs");
    const auto valueAt = [](const auto& changes, int s) {
        const auto at =
            std::upper_bound(changes.begin(), changes.end(), s,
                             [](int sample, const auto& change) { return sample < change.first; });
        return at == changes.begin() ? nlohmann::json() : std::prev(at)->second;
    };
    int checked = 0;
    for (int s = 0; s < d.Samples(); ++s) {
        for (const int k : d.Present("cops", s)) {
            const auto i = static_cast<std::size_t>(k);
            if (valueAt(lostBy[i], s) != "grace") continue;
            const nlohmann::json sawMs = valueAt(saw[i], s);
            if (sawMs.is_null()) continue;
            ASSERT_GT(d.Time(s) - sawMs.get<int>(), grace) << "cop " << k << " at " << d.Time(s) << " ms";
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

}  // namespace
