// The replay: what the log lines tell, the page that carries the data, and a recorded run.

#include <gtest/gtest.h>

#include "replay/log_state.h"
#include "replay/replay_compact.h"
#include "replay/replay_page.h"
#include "replay/replay_recorder.h"
#include "scenario/scenario_loader.h"
#include "support/plugin_run.h"

namespace {

using sandbox::LogState;

TEST(LogStateTest, FollowsLossesSummariesAndTheScene) {
    LogState state;
    state.Read("wanted level started, level=2", {1, 2, 0});
    EXPECT_TRUE(state.sceneValid);
    EXPECT_EQ(state.scene, (sandbox::Vec3{1, 2, 0}));
    state.Read("cop lost the player: ped=0x20000200 inCar=0", {});
    state.Read("cop forced to stay lost until out of the parked car: ped=0x20000400", {});
    EXPECT_TRUE(state.Lost("0x20000200"));
    EXPECT_TRUE(state.Lost("0x20000400"));
    state.Read("cop is chasing again: ped=0x20000200", {});
    EXPECT_FALSE(state.Lost("0x20000200"));
    state.Read("cops: total=3 seeing=1 lost=1 sceneShared=1", {});
    EXPECT_EQ(state.seeing, 1);
    EXPECT_EQ(state.lost, 1);
    state.FollowPlayer({7, 8, 0});
    EXPECT_EQ(state.scene, (sandbox::Vec3{7, 8, 0}));
    state.Read("cops: total=3 seeing=1 lost=1 sceneShared=0", {});
    state.FollowPlayer({9, 9, 0});  // a helicopter that keeps what it sees does not move the scene
    EXPECT_EQ(state.scene, (sandbox::Vec3{7, 8, 0}));
    state.Read("gunshot heard: weapon=22 range=90 scene moved to 12.5,-3.0", {0, 0, 1});
    EXPECT_EQ(state.scene, (sandbox::Vec3{12.5f, -3.0f, 1}));
    state.Read("wanted level ended", {});
    EXPECT_FALSE(state.sceneValid);
    EXPECT_FALSE(state.Lost("0x20000400"));
}

TEST(ReplayPageTest, NoTextCanCloseTheDataElement) {
    const nlohmann::json data = {{"scenario", {{"name", "<b>x</b>"}}},
                                 {"log", {{{"t", 1}, {"text", "</script><script>alert(1)</script> & more"}}}},
                                 {"samples", nlohmann::json::array()}};
    const std::string page = sandbox::ReplayPage(data);
    EXPECT_EQ(page.find("</script><script>alert"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    const auto open = page.find("id=\"replay-data\">") + 17;
    const auto close = page.find("</script>", open);
    EXPECT_EQ(nlohmann::json::parse(page.substr(open, close - open)), sandbox::CompactReplay(data));
}

TEST(ReplayRecorderTest, SamplesEvery150MsAndTellsLostCops) {
    const std::string json = R"({ "name": "rec", "frameMs": 50, "durationMs": 4000, "host": { "pursuit": false },
        "player": { "pos": [0, 0, 0], "wanted": 1 },
        "peds": [ { "id": "spotter", "type": 6, "pos": [0, -20, 0] },
                  { "id": "away", "type": 6, "pos": [0, 20, 0] } ],
        "vehicles": [ { "id": "car", "model": 596, "pos": [30, 30, 0] } ] })";
    sandbox::ReplayRecorder recorder(sandbox::ParseScenario(json, "rec.json"), std::nullopt);
    testing_support::RunJson(json, [&](sandbox::RunOptions& options) { recorder.Attach(options); });
    const nlohmann::json& data = recorder.Data();
    const auto& samples = data["samples"];
    ASSERT_EQ(samples.size(), 27u);  // 50 ms, then every 150 ms up to 3950 ms
    EXPECT_EQ(samples[1]["t"], 200);
    const auto& last = samples.back();
    ASSERT_EQ(last["cops"].size(), 2u);
    EXPECT_EQ(last["cops"][0]["id"], "spotter");
    EXPECT_EQ(last["cops"][0]["state"], "seeing");
    EXPECT_EQ(last["cops"][1]["state"], "lost");
    EXPECT_EQ(last["cops"][1]["suppressed"], true);
    EXPECT_EQ(last["vehicles"][0]["id"], "car");
    EXPECT_EQ(last["scene"], nlohmann::json::array({0.0, 0.0, 0.0}));
    EXPECT_EQ(samples[10]["cops"][1]["state"], "chasing");
    // Every log line, stamped with its run time.
    EXPECT_EQ(data["log"].back()["text"], "cops: total=2 seeing=1 lost=1 sceneShared=1");
    EXPECT_EQ(data["log"].back()["t"], 3300);
}

}  // namespace
