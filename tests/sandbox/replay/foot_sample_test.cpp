// The foot-search part of the replay, read from log lines alone.

#include <gtest/gtest.h>

#include <random>

#include "replay/foot_sample.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

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

// The lookups kept from sample to sample must find what a fresh search finds, as orders come for
// peds old and new.
TEST(FootSampleTest, KeptLookupsFindWhatAFreshSearchFinds) {
    const sandbox::Scenario scenario =
        sandbox::ParseScenario(R"({ "durationMs": 1000, "player": { "pos": [0, 0, 0] } })", "sample.json");
    sandbox::World world(sandbox::ScenarioWorld(scenario));
    FootSearchLog log;
    constexpr int kPeds = 12;
    FootSearchLog::Lookup lookups[kPeds];
    // Move orders, other commands naming a ped, and the one command that names none.
    const std::uint16_t commands[] = {0x05F5, 0x05D3, 0x0A1A, 0x02C0};
    std::mt19937 random(3);
    for (std::uint32_t round = 0; round < 300; ++round) {
        for (int n = static_cast<int>(random() % 3); n > 0; --n) {
            sandbox::ScriptCall call;
            call.command = commands[random() % 4];
            call.args.push_back({sandbox::ScriptArg::Type::integer, static_cast<int>(random() % kPeds), 0});
            for (int a = 0; a < 3; ++a)
                call.args.push_back({sandbox::ScriptArg::Type::real, 0, static_cast<float>(random() % 50)});
            world.Journal().Record(call);
        }
        log.NoteOrders(world, round * 10);
        for (int ped = 0; ped < kPeds; ++ped) {
            ASSERT_EQ(log.Order(ped, lookups[ped]), log.Order(ped)) << round << ' ' << ped;
            ASSERT_EQ(log.LastCommand(ped, lookups[ped]), log.LastCommand(ped)) << round << ' ' << ped;
        }
    }
}

}  // namespace
