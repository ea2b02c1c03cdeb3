// The radio: one hop from a seeing cop, its range, cars, and what it does for a lost cop.

#include <gtest/gtest.h>

#include <cmath>

#include "plugin/awareness/awareness_scenario.h"

namespace {

using awareness_test::Cop;
using awareness_test::Session;

// Lost cops stay where they are instead of searching.
const std::string kStill = "FootSearch=0\n";

// "spotter" sees the player from 20 m; the others face away and see nothing.
std::string Group(const std::string& more) {
    return R"("peds": [ )" + Cop("spotter", 0, -20) + ", " + more + " ]";
}

// Listeners in an arc south of the spotter, facing away, half of them 0.4 m inside the range and half
// 0.4 m beyond: whichever cells of the radio's grid they fall in, exactly those inside hear.
TEST(RadioTest, ReachesEveryCopInRangeWhereverItsCellsFall) {
    for (const float range : {5.0f, 25.0f, 90.0f}) {
        SCOPED_TRACE(range);
        std::string listeners;
        for (int i = 0; i < 16; ++i) {
            const double angle = (-165.0 + 150.0 / 7.0 * (i / 2)) * 3.14159265358979 / 180.0;
            const double d = range + (i % 2 == 0 ? -0.4 : 0.4);
            listeners +=
                (i > 0 ? ", " : "") + Cop("l" + std::to_string(i), static_cast<float>(d * std::cos(angle)),
                                          static_cast<float>(-20.0 + d * std::sin(angle)), 0, 180);
        }
        Session s(Group(listeners), kStill + "RadioRange=" + std::to_string(range) + "\n");
        s.RunFor(5000);
        EXPECT_EQ(s.Count("cop lost the player: ped=*"), 8);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(s.Ped("l" + std::to_string(i)).m_nPursuitSuppressed, i % 2);
    }
}

TEST(RadioTest, ReachesOneHopWithinItsRange) {
    // near: exactly 25 m from the spotter; relay: 25 m beyond near, 50 m from the spotter.
    Session s(Group(Cop("near", 25, -20, 0, 180) + ", " + Cop("relay", 25, -45, 0, 180)), kStill);
    s.RunFor(5000);
    EXPECT_EQ(s.Ped("spotter").m_nPursuitSuppressed, 0);
    EXPECT_EQ(s.Ped("near").m_nPursuitSuppressed, 0);
    EXPECT_EQ(s.Ped("relay").m_nPursuitSuppressed, 1);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 1);
    EXPECT_EQ(s.Count("cops: total=3 seeing=1 lost=1 sceneShared=1"), 1);
}

TEST(RadioTest, ReachesEveryDirectionUpToItsRangeAndNoFarther) {
    // Around the spotter at (0, -20): straight behind him and on both diagonals, just inside 25 m
    // and just outside it.
    Session s(
        Group(Cop("in_behind", 0, -44.9f, 0, 180) + ", " + Cop("in_left", -17.6f, -37.6f, 0, 180) + ", " +
              Cop("in_right", 17.6f, -37.6f, 0, 180) + ", " + Cop("out_behind", 0, -45.2f, 0, 180) + ", " +
              Cop("out_left", -17.8f, -37.8f, 0, 180) + ", " + Cop("out_right", 17.8f, -37.8f, 0, 180)),
        kStill);
    s.RunFor(5000);
    for (const char* id : {"in_behind", "in_left", "in_right"})
        EXPECT_EQ(s.Ped(id).m_nPursuitSuppressed, 0) << id;
    for (const char* id : {"out_behind", "out_left", "out_right"})
        EXPECT_EQ(s.Ped(id).m_nPursuitSuppressed, 1) << id;
}

TEST(RadioTest, JustOutOfRangeHearsNothing) {
    Session s(Group(Cop("near", 25.1f, -20, 0, 180)), kStill);
    s.RunFor(5000);
    EXPECT_EQ(s.Ped("near").m_nPursuitSuppressed, 1);
}

TEST(RadioTest, BringsALostCopBackToChasing) {
    Session s(Group(Cop("near", 10, -20, 0, 180)), kStill);
    s.Ped("spotter").m_fHeading = 3.14159f;  // nobody sees: both lose the player
    s.RunFor(3300);
    ASSERT_EQ(s.Ped("near").m_nPursuitSuppressed, 1);
    s.Ped("spotter").m_fHeading = 0.0f;
    s.RunFor(150);
    EXPECT_EQ(s.Count("cop is chasing again: ped=*"), 2);
    EXPECT_EQ(s.Ped("near").m_nPursuitSuppressed, 0);
    EXPECT_EQ(s.Count("cops: total=2 seeing=1 lost=0 sceneShared=1"), 1);
}

class RadioToCars : public ::testing::TestWithParam<int> {};

TEST_P(RadioToCars, ReachesSeatedCopsOnlyWhenAllowed) {
    const std::string seated =
        R"({ "id": "driver", "type": 6, "pos": [10, -20, 0], "vehicle": "car", "seat": "driver" })";
    Session s(Group(seated) +
                  R"(, "vehicles": [ { "id": "car", "model": 596, "pos": [10, -20, 0], "heading": 180 } ])",
              "RadioReachesCars=" + std::to_string(GetParam()) + "\n");
    s.RunFor(5000);
    EXPECT_EQ(s.Ped("driver").m_nPursuitSuppressed, GetParam() == 0 ? 1 : 0);
    EXPECT_EQ(s.Count("cop lost the player: ped=* inCar=1"), GetParam() == 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Setting, RadioToCars, ::testing::Values(0, 1));

}  // namespace

namespace {

TEST(RadioTest, ACopFirstHeardOfByRadioStillGetsHisFirstStamp) {
    // Everyone is a runner: a cop whose record the radio made before the seeing pass would walk.
    Session s(Group(Cop("near", 10, -20, 0, 180)), "RunnerPercent=100\n");
    s.RunFor(150);
    s.Ped("spotter").m_fHeading = 3.14159f;  // from now on nobody sees: both search
    s.RunFor(4500);
    ASSERT_GE(s.Count("sweeping: ped=*"), 2);
    EXPECT_EQ(s.Count("sweeping: ped=* style=1 *"), s.Count("sweeping: ped=*"));
}

class HeliShares : public ::testing::TestWithParam<int> {};

TEST_P(HeliShares, OnlyASharingHelicopterMovesTheSceneAndTellsTheCopsBelow) {
    const std::string heli =
        R"("peds": [ { "id": "pilot", "type": 6, "pos": [0, -5, 15], "vehicle": "heli", "seat": "driver" },
                                          )" +
        Cop("below", 0, 10) + R"( ],
        "vehicles": [ { "id": "heli", "model": 497, "pos": [0, -5, 15] } ])";
    Session s(heli, "FootSearch=0\nHeliSearch=0\nHeliSharesScene=" + std::to_string(GetParam()) + "\n");
    s.RunFor(5000);
    const bool shares = GetParam() != 0;
    ASSERT_GE(s.Count("cops: total=2 seeing=1 *"), 1);  // the pilot sees him
    EXPECT_EQ(s.Count(shares ? "* sceneShared=0" : "* sceneShared=1"), 0);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), shares ? 0 : 1);
    EXPECT_EQ(s.Ped("below").m_nPursuitSuppressed, shares ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Setting, HeliShares, ::testing::Values(0, 1));

}  // namespace
