// Holding lost cops out of the host's pursuit: the criminal-list scrub, the pursuit-task check and
// the wait for a cop still getting out of a vehicle.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "plugin/awareness/awareness_scenario.h"
#include "pools/host_tasks.h"

namespace {

using awareness_test::ClockStart;
using awareness_test::Cop;
using awareness_test::ExpectTimeLimit;
using awareness_test::kLoneCop;
using awareness_test::Session;

constexpr const char* kScrubLine =
    "anti-lock: player removed from the criminal list of a cop that lost him: ped=*";
constexpr const char* kTaskLine =
    "anti-lock: vanilla pursuit task on a cop that lost the player, flushing: ped=*";

TEST(SuppressionTest, ScrubRunsEveryFrameAndLogsAtMostEvery2001Ms) {
    Session s(kLoneCop, "FootSearch=0\n");
    s.RunFor(3300);
    for (int frame = 0; frame < 60; ++frame) {  // 3 s of the host re-listing him every frame, slot after slot
        s.World().AddCriminal(s.Ped("cop"));
        s.Frame(50);
        ASSERT_FALSE(s.Ped("cop").HasCriminal(s.World().Player())) << frame;
    }
    EXPECT_EQ(s.Count(kScrubLine), 2);
}

TEST(SuppressionTest, ThePlayerIsScrubbedFromEverySlotInOneFrameWithOneLine) {
    Session s(kLoneCop, "FootSearch=0\n");
    s.RunFor(3300);
    CPed** slots = s.Ped("cop").m_apCriminalsToKill;
    CPed other;
    slots[1] = &other;  // someone else he is after stays on the list
    slots[2] = s.World().Player();
    slots[4] = s.World().Player();
    s.Frame(50);
    EXPECT_EQ(std::count(slots, slots + CPed::kCriminalSlots, s.World().Player()), 0);
    EXPECT_EQ(slots[1], &other);
    EXPECT_EQ(s.Count(kScrubLine), 1);
    slots[1] = nullptr;
}

TEST(SuppressionTest, ScrubLeavesCopsInTheKnowAlone) {
    Session s(R"("peds": [ )" + Cop("cop", 0, -20) + " ]");
    s.World().AddCriminal(s.Ped("cop"));
    s.RunFor(5000);
    EXPECT_EQ(s.Ped("cop").m_apCriminalsToKill[0], s.World().Player());
    EXPECT_EQ(s.Count(kScrubLine), 0);
}

TEST(SuppressionTest, PursuitTaskOnALostCopIsFlushedWithinTwoTicks) {
    for (int task :
         {sandbox::kTaskPursuitInVehicle, sandbox::kTaskPursuitOnFoot, sandbox::kTaskPursuitArrest}) {
        Session s(kLoneCop, "FootSearch=0\n");
        s.RunFor(3500);
        s.Ped("cop").AddTask(task, 0);
        s.RunFor(300);
        EXPECT_FALSE(s.Ped("cop").HasTask(task)) << task;
        EXPECT_EQ(s.Count(kTaskLine), 1) << task;
        // The check is throttled, not switched off: the host's next try is caught too.
        s.Ped("cop").AddTask(task, 0);
        s.RunFor(300);
        EXPECT_EQ(s.Count(kTaskLine), 2) << task;
    }
}

TEST(SuppressionTest, CopGettingOutOfAVehicleIsTakenOverOnlyWhenOut) {
    Session s(kLoneCop);
    s.RunFor(3000);
    s.Ped("cop").AddTask(sandbox::kTaskLeaveVehicle, s.World().Now() + 1000);
    s.RunFor(500);  // lost at 3300, while still getting out
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 1);
    EXPECT_EQ(s.Ped("cop").m_nPursuitSuppressed, 1);
    EXPECT_EQ(s.Count("flushing pursuit task: ped=*"), 0);
    s.RunFor(700);
    EXPECT_EQ(s.Count("flushing pursuit task: ped=*"), 1);
    EXPECT_EQ(s.Count("pursuit task flushed: ped=*"), 1);
}

// The scrub's line comes again from 2001 ms after the last one, also with the clock wrapping.
TEST(SuppressionTest, TheScrubLogsAgainFrom2001MsAfterItsLastLine) {
    ExpectTimeLimit(
        [](std::uint32_t start, int shift, std::uint32_t* loggedAt) {
            Session s(ClockStart(start) + kLoneCop, "FootSearch=0\n");
            EXPECT_TRUE(s.RunUntil("cop lost the player: *"));
            const auto listedFor = [&](std::uint32_t ms) {
                s.World().AddCriminal(s.Ped("cop"));
                s.Frame(ms);
            };
            listedFor(50);
            if (loggedAt != nullptr) *loggedAt = s.World().Now();
            listedFor(100);  // a scrub before the wrap
            listedFor(static_cast<std::uint32_t>(1901 + shift));
            return s.Count(kScrubLine) == 2;
        },
        {false, true, true});
}

}  // namespace
