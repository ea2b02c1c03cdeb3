// The plugin's frame: the F10 toggle, wanted episodes, the ped range multiplier, the cop-car check.

#include <gtest/gtest.h>

#include "host/screen.h"
#include "host/win32/windows.h"
#include "support/module_session.h"
#include "support/plugin_run.h"

namespace {

using testing_support::ModuleSession;
using testing_support::RunJson;

std::string WantedScenario(const std::string& events, int durationMs = 6000) {
    return R"({ "name": "frame", "durationMs": )" + std::to_string(durationMs) +
           R"(, "frameMs": 50, "settings": { "PedRangeMultiplier": 3 },
               "player": { "pos": [0, 0, 0], "wanted": 2 }, "events": [ )" +
           events + " ] }";
}

TEST(FrameTest, HeldKeyTogglesOnceAndAgainAfterRelease) {
    auto run = RunJson(WantedScenario(R"({ "at": 1000, "do": "key", "key": "F10", "forMs": 500 },
                                         { "at": 3000, "do": "key", "key": "F10", "forMs": 200 })"));
    EXPECT_EQ(run.Count("F10: enabled=0"), 1);
    EXPECT_EQ(run.Count("F10: enabled=1"), 1);
    // Switching off resets at once, without an episode-end line; switching on starts a new episode.
    EXPECT_FALSE(run.Logged("wanted level ended"));
    EXPECT_EQ(run.Count("wanted level started, level=2"), 2);
    EXPECT_EQ(run.FirstAt("F10: enabled=1"), run.outcome.record.log.back().runMs >= 3000 ? 3000 : -1);
    const auto lines = run.Lines();
    const auto off = std::find(lines.begin(), lines.end(), "F10: enabled=0");
    ASSERT_NE(off, lines.end());
    EXPECT_EQ(*(off - 1), "ped range multiplier restored: 1.00");
}

TEST(FrameTest, ToggleShowsItsMessageForOneAndAHalfSeconds) {
    ModuleSession session("", WantedScenario(""));
    session.World().HoldKey(VK_F10, 100);
    session.Frame(50);
    EXPECT_EQ(session.World().Message(), "Vigilor: OFF");
    session.Frames(29, 50);  // 1450 ms later
    EXPECT_EQ(session.World().Message(), "Vigilor: OFF");
    session.Frame(50);
    EXPECT_EQ(session.World().Message(), "");
}

TEST(FrameTest, DeathEndsTheEpisodeAndRestoresTheCamera) {
    auto run = RunJson(WantedScenario(R"({ "at": 2000, "do": "playerDie" })"));
    EXPECT_EQ(run.FirstAt("wanted level ended"), 2000);
    EXPECT_EQ(run.Count("wanted level ended"), 1);
    EXPECT_EQ(run.FirstAt("ped range multiplier restored: 1.00"), 2000);
}

TEST(FrameTest, PedRangeIsRewrittenEveryFrameAndRestoredAtTheEnd) {
    ModuleSession session("[Settings]\nPedRangeMultiplier=4.5\n", WantedScenario(""));
    TheCamera.m_fPedRangeMultiplier = 1.25f;
    session.Frame();
    EXPECT_FLOAT_EQ(TheCamera.m_fPedRangeMultiplier, 4.5f);
    TheCamera.m_fPedRangeMultiplier = 2.0f;  // the host changes it
    session.Frame();
    EXPECT_FLOAT_EQ(TheCamera.m_fPedRangeMultiplier, 4.5f);
    session.World().Wanted().m_nWantedLevel = 0;
    session.Frame();
    EXPECT_FLOAT_EQ(TheCamera.m_fPedRangeMultiplier, 1.25f);
    EXPECT_NE(session.Log().find("ped range multiplier 1.25 -> 4.50\n"), std::string::npos);
    EXPECT_NE(session.Log().find("ped range multiplier restored: 1.25\n"), std::string::npos);
}

TEST(FrameTest, SmallPedRangeLeavesTheCameraAlone) {
    ModuleSession session("[Settings]\nPedRangeMultiplier=0.5\n", WantedScenario(""));
    TheCamera.m_fPedRangeMultiplier = 1.7f;
    session.Frames(3);
    session.World().Wanted().m_nWantedLevel = 0;
    session.Frame();
    EXPECT_FLOAT_EQ(TheCamera.m_fPedRangeMultiplier, 1.7f);
    EXPECT_EQ(session.Log().find("ped range"), std::string::npos);
}

TEST(FrameTest, LevelChangesDoNotStartANewEpisode) {
    auto run = RunJson(WantedScenario(R"({ "at": 1000, "do": "wanted", "level": 4 },
                                         { "at": 2000, "do": "wanted", "level": 0 },
                                         { "at": 3000, "do": "wanted", "level": 1 })"));
    EXPECT_EQ(run.Count("wanted level started, level=*"), 2);
    EXPECT_TRUE(run.Logged("wanted level started, level=1"));
    EXPECT_EQ(run.Count("wanted level ended"), 1);
}

TEST(FrameTest, CopCarCounterIsCheckedEvery2001MsWantedOrNot) {
    auto run = RunJson(R"({ "durationMs": 9000, "frameMs": 1,
        "player": { "pos": [0, 0, 0] },
        "vehicles": [ { "id": "a", "model": 596, "pos": [5, 0, 0], "lawEnforcer": true } ],
        "host": { "copCarCounter": 3 },
        "events": [ { "at": 4500, "do": "hostCopCarCounter", "value": 5 } ] })");
    // First check once the clock reaches 2001 ms; the counter is healed and the next check logs it.
    EXPECT_EQ(run.FirstAt("cop car counter: game counter=3, real law-enforcer cars=1"), 2001);
    EXPECT_EQ(run.FirstAt("cop car counter was too high (3 > 1): lowered, cop cars can spawn again"), 2001);
    EXPECT_EQ(run.FirstAt("cop car counter: game counter=1, real law-enforcer cars=1"), 4002);
    EXPECT_EQ(run.FirstAt("cop car counter: game counter=5, real law-enforcer cars=1"), 6003);
}

TEST(FrameTest, HealingCanBeSwitchedOff) {
    auto run = RunJson(R"({ "durationMs": 7000, "frameMs": 1, "settings": { "HealCopCounter": 0 },
        "player": { "pos": [0, 0, 0] }, "host": { "copCarCounter": 9 } })");
    EXPECT_EQ(run.Count("cop car counter: *"), 1);
    EXPECT_FALSE(run.Logged("cop car counter was too high*"));
}

}  // namespace
