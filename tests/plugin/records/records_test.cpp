// The purge keeps records of cops still in the pool, near or far, alive or dead, and never hands a
// record to the next ped in a reused slot.

#include <gtest/gtest.h>

#include "plugin/awareness/awareness_scenario.h"

namespace {

using awareness_test::ClockStart;
using awareness_test::ExpectTimeLimit;
using awareness_test::kLoneCop;
using awareness_test::Session;

sandbox::PedSpec CopSpec(const std::string& id) {
    sandbox::PedSpec cop;
    cop.id = id;
    cop.type = 6;
    cop.pos = {0, -20, 0};
    cop.heading = 180;
    return cop;
}

TEST(RecordsTest, ReusedSlotStartsAFreshRecord) {
    Session s(kLoneCop);
    s.RunFor(3300);
    ASSERT_EQ(s.Count("cop lost the player: ped=*"), 1);
    const CPed* old = &s.Ped("cop");
    // Within one frame the host frees the slot and fills it with another cop.
    s.World().Remove("cop");
    s.World().SpawnPed(CopSpec("next"));
    ASSERT_EQ(static_cast<const CPed*>(&s.Ped("next")), old);
    s.RunFor(1000);
    EXPECT_EQ(s.Ped("next").m_nPursuitSuppressed, 0);
    EXPECT_EQ(s.Count("cops: total=1 seeing=0 lost=0 sceneShared=0"), 2);  // at the start, and now again
    // He is new to the pursuit: in the know for the whole grace time from his own first stamp (3450).
    s.RunFor(2150);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 1);
    s.RunFor(150);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 2);
}

TEST(RecordsTest, LostCopBeyondTheCircleKeepsHisState) {
    Session s(kLoneCop, "FootSearch=0\n");
    s.RunFor(3300);
    s.World().Player()->SetPosition({0, 300, 0});
    s.RunFor(1000);
    EXPECT_EQ(s.Count("cops: total=0 seeing=0 lost=0 sceneShared=0"), 1);
    EXPECT_EQ(s.Ped("cop").m_nPursuitSuppressed, 1);
    // The host puts the player back on his list: the scrub still reaches him out there.
    s.World().AddCriminal(s.Ped("cop"));
    s.Frame(50);
    EXPECT_FALSE(s.Ped("cop").HasCriminal(s.World().Player()));
    // Back in the circle he resumes as he was: no second loss, no second take-over.
    s.World().Player()->SetPosition({0, 0, 0});
    s.RunFor(1000);
    EXPECT_EQ(s.Count("cops: total=1 seeing=0 lost=1 sceneShared=0"), 2);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 1);
    EXPECT_EQ(s.Count("flushing pursuit task: ped=*"), 1);
}

TEST(RecordsTest, ACopWhoStopsBeingACopIsForgottenAndGetsHisFlagBack) {
    Session s(kLoneCop, "FootSearch=0\n");
    s.RunFor(3300);
    ASSERT_EQ(s.Ped("cop").m_nPursuitSuppressed, 1);
    s.Ped("cop").m_nPedType = 4;
    s.RunFor(300);
    EXPECT_EQ(s.Ped("cop").m_nPursuitSuppressed, 0);
    // A cop again: a new record, in the know for the whole grace time from its first stamp.
    s.Ped("cop").m_nPedType = 6;
    s.RunFor(3000);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 1);
    s.RunFor(300);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 2);
    EXPECT_EQ(s.Ped("cop").m_nPursuitSuppressed, 1);
}

TEST(RecordsTest, DeadCopStaysRecordedWhileTheHostKeepsHim) {
    Session s(kLoneCop);
    s.RunFor(3300);
    s.Ped("cop").m_fHealth = 0.0f;
    s.RunFor(500);
    EXPECT_EQ(s.Count("cops: total=0 seeing=0 lost=0 sceneShared=0"), 1);
    s.World().AddCriminal(s.Ped("cop"));
    s.Frame(50);
    EXPECT_FALSE(s.Ped("cop").HasCriminal(s.World().Player()));
    // Only his record can tell the reset to give his flag back.
    s.World().Wanted().m_nWantedLevel = 0;
    s.Frame(50);
    EXPECT_EQ(s.Count("reset: flags restored"), 1);
    EXPECT_EQ(s.Ped("cop").m_nPursuitSuppressed, 0);
}

// Lost only once more than PursuitGraceMs have passed since his stamp, also with the clock wrapping.
TEST(RecordsTest, ACopIsLostOnlyPastHisGraceTime) {
    ExpectTimeLimit(
        [](std::uint32_t start, int shift, std::uint32_t* stampAt) {
            Session s(ClockStart(start) + kLoneCop, "PursuitGraceMs=" + std::to_string(1500 - shift) + "\n");
            EXPECT_TRUE(s.RunUntil("cops: total=1 *"));
            if (stampAt != nullptr) *stampAt = s.World().Now();
            s.TickAfter(1500);
            return s.Count("cop lost the player: ped=*") == 1;
        },
        {false, false, true});
}

}  // namespace
