// The log file: emptied at start-up, Log=0, identical across runs, a fresh module per load.

#include <gtest/gtest.h>

#include <fstream>

#include "support/module_session.h"
#include "support/plugin_run.h"

namespace {

using testing_support::ModuleSession;
using testing_support::RunJson;

const char* kEpisode = R"({ "name": "logged", "seed": 7, "durationMs": 4000, "frameMs": [20, 45],
    "world": { "boxes": [ { "id": "wall", "min": [5, -5, 0], "max": [6, 5, 3] } ] },
    "player": { "pos": [0, 0, 0], "wanted": 1 },
    "peds": [ { "id": "c", "type": 6, "pos": [10, 0, 0], "heading": 90 } ],
    "events": [ { "at": 3000, "do": "wanted", "level": 0 } ] })";

TEST(LogTest, StartUpEmptiesTheLogOfTheLastRun) {
    ModuleSession session("");
    std::ofstream(session.Dir() / "vigilor.log") << "stale line\n";
    session.Frame();
    EXPECT_EQ(session.Log().find("stale"), std::string::npos);
    EXPECT_EQ(session.Log().rfind("Vigilor v8 loaded", 0), 0u);
}

TEST(LogTest, LogOffLeavesAnEmptyFile) {
    ModuleSession session("[Settings]\nLog=0\n");
    std::ofstream(session.Dir() / "vigilor.log") << "stale line\n";
    session.World().Wanted().m_nWantedLevel = 3;
    session.Frames(5);
    EXPECT_TRUE(std::filesystem::exists(session.Dir() / "vigilor.log"));
    EXPECT_EQ(session.Log(), "");
}

TEST(LogTest, LinesEndWithOneNewlineEach) {
    auto run = RunJson(kEpisode);
    const std::string file = run.LogFile();
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file.back(), '\n');
    EXPECT_NE(file.find("\nwanted level ended\n"), std::string::npos);
    EXPECT_EQ(file.find("\n\n"), std::string::npos);
}

TEST(LogTest, SameScenarioGivesTheSameBytes) {
    auto first = RunJson(kEpisode);
    auto second = RunJson(kEpisode);
    EXPECT_EQ(first.LogFile(), second.LogFile());
    EXPECT_EQ(first.outcome.frames, second.outcome.frames);
}

TEST(LogTest, EveryLoadStartsFromLoadTimeState) {
    // Two loads in a row, as after a host restart: each reads its settings and logs its banner.
    auto first = RunJson(kEpisode);
    auto second = RunJson(kEpisode);
    for (const auto* run : {&first, &second}) {
        EXPECT_EQ(run->Count("Vigilor v8 loaded | *"), 1);
        EXPECT_EQ(run->Count("cops: total=*"), 1) << "the first tick of a load always writes its summary";
    }
}

}  // namespace
