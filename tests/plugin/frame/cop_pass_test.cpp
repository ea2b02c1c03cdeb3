// Loss after the grace time, chasing again, and what CutPursuit leaves alone.

#include <gtest/gtest.h>

#include "plugin/awareness/awareness_scenario.h"

namespace {

using awareness_test::kLoneCop;
using awareness_test::Session;

TEST(LossTest, GraceRunsFromTheFirstStampAndLossRaisesTheFlagOnce) {
    Session s(kLoneCop);
    s.RunFor(3250);  // the tick at 3150 is exactly 3000 ms after the stamp: still in the know
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 0);
    EXPECT_EQ(s.Ped("cop").m_nPursuitSuppressed, 0);
    s.Frame(50);  // 3300
    EXPECT_EQ(s.Count("cop lost the player: ped=* inCar=0"), 1);
    EXPECT_EQ(s.Ped("cop").m_nPursuitSuppressed, 1);
    EXPECT_EQ(s.Count("flushing pursuit task: ped=*"), 1);
    EXPECT_EQ(s.Count("pursuit task flushed: ped=*"), 1);
    s.RunFor(1000);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 1);
    EXPECT_EQ(s.Count("flushing pursuit task: ped=*"), 1);
    EXPECT_EQ(s.Count("cops: total=1 seeing=0 lost=1 sceneShared=0"), 1);
}

TEST(LossTest, SeeingAgainChasesAtOnceAndLowersTheFlag) {
    Session s(kLoneCop, "FootSearch=0\n");  // he stands where he lost him
    s.RunFor(3300);
    ASSERT_EQ(s.Ped("cop").m_nPursuitSuppressed, 1);
    s.Ped("cop").m_fHeading = 0.0f;  // he turns round and faces the player
    s.RunFor(150);
    EXPECT_EQ(s.Count("cop is chasing again: ped=*"), 1);
    EXPECT_EQ(s.Ped("cop").m_nPursuitSuppressed, 0);
    EXPECT_EQ(s.Count("cops: total=1 seeing=1 lost=0 sceneShared=1"), 1);
    // Without a search step of ours on him there is nothing to clear.
    EXPECT_EQ(s.Count("clearing search task: ped=*"), 0);
    // Losing him again is a new loss with a new first flush.
    s.Ped("cop").m_fHeading = 3.14159f;
    s.RunFor(3300);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 2);
    EXPECT_EQ(s.Count("flushing pursuit task: ped=*"), 2);
}

TEST(LossTest, WithoutCutPursuitCopsAreCountedLostButLeftAlone) {
    Session s(kLoneCop, "CutPursuit=0\n");
    s.World().AddCriminal(s.Ped("cop"));
    s.RunFor(5000);
    EXPECT_EQ(s.Count("cops: total=1 seeing=0 lost=1 sceneShared=0"), 1);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 0);
    EXPECT_EQ(s.Ped("cop").m_nPursuitSuppressed, 0);
    EXPECT_EQ(s.Ped("cop").m_apCriminalsToKill[0], s.World().Player());
}

}  // namespace
