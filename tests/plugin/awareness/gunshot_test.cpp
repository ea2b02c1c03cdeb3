// Shots the police hear: throttles, ranges, the silenced pistol, and the searches they restart.

#include <gtest/gtest.h>

#include "plugin/awareness/awareness_scenario.h"

namespace {

using awareness_test::ClockStart;
using awareness_test::Cop;
using awareness_test::ExpectTimeLimit;
using awareness_test::Session;

void Fire(Session& s, int weapon, std::uint32_t forMs) {
    sandbox::Ped& player = *s.World().Player();
    CWeapon& gun = player.m_aWeapons[player.m_nActiveWeaponSlot];
    gun.m_eWeaponType = weapon;
    gun.m_nState = WEAPONSTATE_FIRING;
    s.World().SetFiringUntil(s.World().Now() + forMs);
}

std::string Peds(const std::string& cops) { return R"("peds": [ )" + cops + " ]"; }

TEST(GunshotTest, ContinuousFireMovesTheSceneAtMostEvery800Ms) {
    Session s(Peds(Cop("cop", 0, -50, 0, 180)));
    s.RunFor(1000);
    Fire(s, 22, 3000);
    s.RunFor(1000);
    s.World().Player()->SetPosition({4, 0, 0});
    s.RunFor(2100);
    EXPECT_EQ(s.Count("gunshot heard: weapon=22 range=90 scene moved to *"), 4);  // 1050, 1850, 2650, 3450
    EXPECT_EQ(s.Count("gunshot heard: weapon=22 range=90 scene moved to 4.0,0.0"), 2);
}

TEST(GunshotTest, TheSilencedPistolCarriesOnlyItsOwnRange) {
    {
        Session far(Peds(Cop("cop", 0, -25, 0, 180)));
        far.RunFor(1000);
        Fire(far, 23, 1000);
        far.RunFor(1000);
        EXPECT_EQ(far.Count("gunshot heard: *"), 0);
    }
    Session near(Peds(Cop("cop", 0, -15, 0, 180)));
    near.RunFor(1000);
    Fire(near, 23, 100);
    near.RunFor(200);
    EXPECT_EQ(near.Count("gunshot heard: weapon=23 range=20 scene moved to 0.0,0.0"), 1);
}

TEST(GunshotTest, OnlyFirearmsAreHeardAndRangeAloneDecides) {
    {
        Session s(Peds(Cop("cop", 0, -250, 0, 180)), "GunshotRange=300\n");
        s.RunFor(1000);
        for (int weapon : {21, 35}) {
            Fire(s, weapon, 500);
            s.RunFor(1000);
        }
        EXPECT_EQ(s.Count("gunshot heard: *"), 0);
        Fire(s, 34, 100);
        s.RunFor(200);
        EXPECT_EQ(s.Count("gunshot heard: weapon=34 range=300 *"), 1);
    }
    Session off(Peds(Cop("cop", 0, -20, 0, 180)), "GunshotEnabled=0\n");
    off.RunFor(1000);
    Fire(off, 22, 1000);
    off.RunFor(1000);
    EXPECT_EQ(off.Count("gunshot heard: *"), 0);
}

TEST(GunshotTest, AShotRestartsALostCopsSearchWithoutEndingHisLoss) {
    Session s(Peds(Cop("cop", 0, -20, 0, 180)),
              "SightRange=1\nAlertRangeBonus=0\nCloseRange=0\nLookChance=0\n");
    s.RunFor(3300);
    ASSERT_EQ(s.Count("sweeping: ped=* leg=1 *"), 1);
    s.RunFor(150);
    Fire(s, 22, 100);
    s.RunFor(150);
    EXPECT_EQ(s.Count("gunshot heard: *"), 1);
    EXPECT_EQ(s.Count("sweeping: ped=* leg=1 *"), 2);
    EXPECT_EQ(s.Count("cop is chasing again: *"), 0);
}

TEST(GunshotTest, AShotIsHeardAtExactlyItsRange) {
    const struct {
        int weapon;
        float copY;
        bool heard;
    } rows[] = {{22, -50.0f, true}, {22, -49.99f, true}, {22, -50.01f, false},
                {23, -20.0f, true}, {23, -19.99f, true}, {23, -20.01f, false}};
    for (const auto& row : rows) {
        Session s(Peds(Cop("cop", 0, row.copY, 0, 180)), "GunshotRange=50\nSilencedRange=20\n");
        s.RunFor(1000);
        Fire(s, row.weapon, 100);
        s.RunFor(200);
        EXPECT_EQ(s.Count("gunshot heard: *"), row.heard ? 1 : 0) << row.weapon << " at " << row.copY;
    }
}

// The scene follows the shots again 800 ms after it last moved, also with the clock wrapping.
TEST(GunshotTest, TheSceneMovesAgainFrom800MsAfterTheLastShotHeard) {
    ExpectTimeLimit(
        [](std::uint32_t start, int shift, std::uint32_t* firstAt) {
            Session s(ClockStart(start) + Peds(Cop("cop", 0, -50, 0, 180)));
            s.RunFor(1000);
            Fire(s, 22, 3000);
            s.Frame(50);
            if (firstAt != nullptr) *firstAt = s.World().Now();
            s.Frame(100);  // a check between the two, before the wrap
            s.Frame(static_cast<std::uint32_t>(700 + shift));
            return s.Count("gunshot heard: *") == 2;
        },
        {false, true, true});
}

// A shot nobody heard is checked again only 200 ms later.
TEST(GunshotTest, AnUnheardShotIsCheckedAgainAfter200Ms) {
    Session s(Peds(Cop("cop", 0, -60, 0, 180)), "GunshotRange=50\n");
    s.RunFor(1000);
    Fire(s, 22, 3000);
    s.Frame(50);  // checked: out of range
    s.Ped("cop").SetPosition({0, -40, 0});
    s.Frame(100);
    EXPECT_EQ(s.Count("gunshot heard: *"), 0);
    s.Frame(100);
    EXPECT_EQ(s.Count("gunshot heard: *"), 1);
}

}  // namespace
