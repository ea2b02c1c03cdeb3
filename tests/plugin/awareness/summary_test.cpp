// The summary line: always on the first tick, afterwards only when the seeing or lost count moves.

#include <gtest/gtest.h>

#include "plugin/awareness/awareness_scenario.h"

namespace {

using awareness_test::Cop;
using awareness_test::Session;

TEST(SummaryTest, FirstTickWritesEvenWithNobodyAround) {
    Session s("");
    s.RunFor(2000);
    EXPECT_EQ(s.Count("cops: *"), 1);
    EXPECT_EQ(s.Count("cops: total=0 seeing=0 lost=0 sceneShared=0"), 1);
}

TEST(SummaryTest, ChangesOfTotalOrSharingAloneWriteNothing) {
    Session s(R"("peds": [ )" + Cop("spotter", 0, -20) + " ]");
    s.RunFor(1000);
    // A cop far from everyone joins the list: the total changes, the counts do not.
    sandbox::PedSpec late;
    late.id = "late";
    late.type = 6;
    late.pos = {-60, -20, 0};
    late.heading = 180;
    s.World().SpawnPed(late);
    s.RunFor(3000);
    // Then his grace runs out and the lost count moves.
    s.RunFor(500);
    EXPECT_EQ(s.Count("cops: *"), 2);
    EXPECT_EQ(s.Count("cops: total=1 seeing=1 lost=0 sceneShared=1"), 1);
    EXPECT_EQ(s.Count("cops: total=2 seeing=1 lost=1 sceneShared=1"), 1);
}

}  // namespace
