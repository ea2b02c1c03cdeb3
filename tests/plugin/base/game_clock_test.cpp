// Time tests on the wrapping 32-bit host clock.

#include <gtest/gtest.h>

#include <cstdint>

#include "base/game_clock.h"

namespace {

constexpr std::uint32_t kBeforeWrap = 0xFFFFFFFFu - 299;  // 300 ms before the clock wraps

TEST(GameClock, DeadlinesPastTheWrapAreNotReachedEarly) {
    const std::uint32_t deadline = DeadlineAfter(kBeforeWrap, 6000);
    EXPECT_EQ(deadline, 5700u);
    EXPECT_FALSE(Reached(kBeforeWrap, deadline));
    EXPECT_TRUE(Pending(100, deadline));
    EXPECT_TRUE(Pending(5699, deadline));
    EXPECT_FALSE(Pending(5700, deadline));
    EXPECT_TRUE(Reached(5700, deadline));
    EXPECT_FALSE(Passed(5700, deadline));
    EXPECT_TRUE(Passed(5701, deadline));
    // A clock still before the wrap has not reached a deadline just after it.
    EXPECT_FALSE(Reached(kBeforeWrap, 10));
}

TEST(GameClock, UnsetDeadlinesAreNeverPending) {
    // 0 means "none" at every clock, also where a signed difference to 0 reads as far ahead.
    for (const std::uint32_t now : {0u, 100u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(Pending(now, 0)) << now;
    }
    // A deadline that would land on 0 is kept set.
    EXPECT_EQ(DeadlineAfter(kBeforeWrap, 300), 1u);
    EXPECT_TRUE(Pending(kBeforeWrap, DeadlineAfter(kBeforeWrap, 300)));
}

TEST(GameClock, DeadlineTimesAreHeldToWhatTheClockCanTell) {
    EXPECT_EQ(DeadlineAfter(1000, -5), 1000u);  // a negative time ends at once
    // The longest time still reads as ahead, however far it was asked to be.
    EXPECT_TRUE(Pending(1000, DeadlineAfter(1000, 0x7FFFFFFFll)));
    EXPECT_TRUE(Pending(1000, DeadlineAfter(1000, 0xFFFFFFFFll)));
}

TEST(GameClock, ElapsedCountsAcrossTheWrap) {
    EXPECT_FALSE(Elapsed(100, kBeforeWrap, 401));
    EXPECT_TRUE(Elapsed(101, kBeforeWrap, 401));
}

}  // namespace
