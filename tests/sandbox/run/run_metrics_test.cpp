// What a sweep and the JSON summary read from a run: metrics, the timed log, the JSON layout.

#include <gtest/gtest.h>

#include "run/run_json.h"
#include "run/run_story.h"
#include "run/timed_log.h"

namespace {

sandbox::RunOutcome Outcome(std::vector<sandbox::LoggedLine> lines, std::uint32_t lastMs) {
    sandbox::RunOutcome outcome;
    outcome.record.log = std::move(lines);
    outcome.lastRunMs = lastMs;
    outcome.frames = lastMs / 100;
    outcome.pedNames["0x20000200"] = "cop1";
    return outcome;
}

TEST(RunMetricsTest, SeenTimeLossesAndTheEndOfTheEpisode) {
    sandbox::RunOutcome outcome = Outcome({{0, "wanted level started, level=2"},
                                           {150, "cops: total=2 seeing=1 lost=0 sceneShared=1"},
                                           {3000, "cops: total=2 seeing=0 lost=0 sceneShared=0"},
                                           {6000, "cop lost the player: ped=0x20000200 inCar=0"},
                                           {6000, "cops: total=2 seeing=0 lost=1 sceneShared=0"},
                                           {7000, "cops: total=2 seeing=0 lost=2 sceneShared=0"},
                                           {9000, "cops: total=2 seeing=1 lost=1 sceneShared=1"},
                                           {9000, "cop is chasing again: ped=0x20000200"},
                                           {9500, "cops: total=2 seeing=0 lost=2 sceneShared=0"},
                                           {12000, "wanted level ended"},
                                           {13000, "wanted level started, level=1"},
                                           {13200, "cops: total=1 seeing=1 lost=0 sceneShared=1"}},
                                          15000);
    outcome.starFades = {{5000, true}, {9000, false}, {11000, true}};
    outcome.commandCounts = {{0x05F5, 3}};
    const sandbox::RunMetrics m = sandbox::MeasureRun(outcome);
    EXPECT_EQ(m.firstLossMs, 6000u);
    EXPECT_EQ(m.allLostMs, 7000u);
    EXPECT_EQ(m.seenMs, (3000u - 150u) + (9500u - 9000u) + (15000u - 13200u));
    EXPECT_EQ(m.chasedAgain, 1);
    EXPECT_EQ(m.firstFadeMs, 5000u);
    EXPECT_FALSE(m.escaped);  // the second episode is still running with a cop who sees him
    outcome.record.log.resize(10);
    EXPECT_TRUE(sandbox::MeasureRun(outcome).escaped);
    EXPECT_EQ(sandbox::MeasureRun(outcome).seenMs, (3000u - 150u) + (9500u - 9000u));

    const nlohmann::ordered_json json = sandbox::RunJson({}, outcome, 0.25, {});
    EXPECT_EQ(json["episodes"][0]["endS"], 12.0);
    EXPECT_EQ(json["cops"][0]["id"], "cop1");
    EXPECT_EQ(json["cops"][0]["lostS"], nlohmann::ordered_json::array({6.0}));
    EXPECT_EQ(json["cops"][0]["chasedS"], nlohmann::ordered_json::array({9.0}));
    EXPECT_EQ(json["starFades"][1], (nlohmann::ordered_json{{"s", 9.0}, {"faded", false}}));
    EXPECT_EQ(json["orders"][0],
              (nlohmann::ordered_json{{"command", "05F5"}, {"name", "walk along path nodes"}, {"count", 3}}));
    EXPECT_EQ(json["metrics"]["allLostS"], 7.0);
    EXPECT_EQ(json["metrics"]["escaped"], true);
    EXPECT_EQ(json["wallS"], 0.25);
    EXPECT_EQ(json["simulatedS"], 15.0);
}

TEST(RunMetricsTest, NothingHappenedIsNullNotZero) {
    const nlohmann::ordered_json json = sandbox::RunJson({}, Outcome({}, 2000), 0, {});
    EXPECT_TRUE(json["metrics"]["firstLossS"].is_null());
    EXPECT_TRUE(json["metrics"]["allLostS"].is_null());
    EXPECT_TRUE(json["metrics"]["firstFadeS"].is_null());
    EXPECT_EQ(json["metrics"]["escaped"], false);
}

TEST(TimedLogTest, StampsTheRunTimeAndNamesEveryKnownAddress) {
    const std::map<std::string, std::string> names = {{"0x20000200", "cop1"}, {"0x28000000", "pc1"}};
    EXPECT_EQ(sandbox::TimedLine(17655, "cop lost the player: ped=0x20000200 inCar=0", names),
              "17.655 cop lost the player: ped=0x20000200[cop1] inCar=0");
    EXPECT_EQ(sandbox::TimedLine(5, "car unloaded its cops: veh=0x28000000", names),
              "0.005 car unloaded its cops: veh=0x28000000[pc1]");
    // Unknown addresses and longer numbers that merely start like a known one stay as they are.
    EXPECT_EQ(sandbox::TimedLine(1000, "a=0x20000400 b=0x200002001 c=0x20000200,", names),
              "1.000 a=0x20000400 b=0x200002001 c=0x20000200[cop1],");
    EXPECT_EQ(sandbox::TimedLine(4294967295u, "x", {}), "4294967.295 x");
}

}  // namespace
