// The foot-search part of the replay, read from log lines alone.

#include <gtest/gtest.h>

#include "replay/foot_sample.h"

namespace {

using sandbox::FootSearchLog;

TEST(FootSampleTest, StepsFollowTheLinesThatGiveAndEndThem) {
    EXPECT_EQ(FootSearchLog::StepOf("traveling to the scene: ped=0x20000200 style=0 dist=80.0 mode=6"),
              "travel");
    EXPECT_EQ(FootSearchLog::StepOf("sweeping: ped=0x20000200 style=1 mode=6 leg=3 r=44.0"), "sweep");
    EXPECT_EQ(FootSearchLog::StepOf("looking about: ped=0x20000200 time=1500"), "lookAbout");
    EXPECT_EQ(FootSearchLog::StepOf("aim scan: ped=0x20000200 weapon=22 time=2000"), "aimScan");
    EXPECT_EQ(FootSearchLog::StepOf("defend: attacking: ped=0x20000200 target=0x20000400"), "defending");
    EXPECT_EQ(FootSearchLog::StepOf(
                  "watchdog: cop is not moving, new order (straight line for 10 s): ped=0x1 step=2"),
              "none");
    EXPECT_EQ(FootSearchLog::StepOf("cop is chasing again: ped=0x20000200"), "");
    // Lines that only confirm an order change nothing.
    EXPECT_EQ(FootSearchLog::StepOf("sweep task done: ped=0x20000200"), "?");
}

TEST(FootSampleTest, ShotsHeardAreKeptWithTheirScene) {
    FootSearchLog log;
    log.Read("gunshot heard: weapon=22 range=90 scene moved to 30.0,-4.5", 9000);
    log.Read("gunshot heard: nonsense", 9100);
    ASSERT_EQ(log.Shots().size(), 1u);
    EXPECT_EQ(log.Shots()[0]["t"], 9000);
    EXPECT_EQ(log.Shots()[0]["weapon"], 22);
    EXPECT_FLOAT_EQ(log.Shots()[0]["scene"][1].get<float>(), -4.5f);
}

}  // namespace
