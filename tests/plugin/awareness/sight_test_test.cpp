// The sight test's stages, each at its boundary: range, close range, cone, the same-spot rule and the
// line of sight with its vehicle flag.

#include <gtest/gtest.h>

#include "plugin/awareness/awareness_scenario.h"

namespace {

using awareness_test::Cop;
using awareness_test::Sees;

constexpr const char* kPlayerInCar =
    R"({ "pos": [0, 0, 0], "wanted": 1, "vehicle": "mine", "seat": "driver" })";

TEST(SightTest, RangeCountsItsEnd) {
    EXPECT_TRUE(Sees(Cop("c", 0, -45)));
    EXPECT_FALSE(Sees(Cop("c", 0, -45.5f)));
    EXPECT_TRUE(Sees(Cop("c", 0, -20), R"("SightRange": 20)"));
    EXPECT_FALSE(Sees(Cop("c", 0, -20.1f), R"("SightRange": 20)"));
}

TEST(SightTest, CloseRangeIsStrictAndOnlyOnTheSameLevel) {
    // Facing away: only close range can let him notice the player.
    EXPECT_TRUE(Sees(Cop("c", 0, -2.9f, 0, 180)));
    EXPECT_FALSE(Sees(Cop("c", 0, -3, 0, 180)));
    EXPECT_TRUE(Sees(Cop("c", 0, -2, -3.9f, 180), R"("CloseRange": 10)"));
    EXPECT_FALSE(Sees(Cop("c", 0, -2, -4, 180), R"("CloseRange": 10)"));
}

TEST(SightTest, ConeIsTheFullAngleCentredOnTheHeading) {
    // The player lies straight north of the cop; a heading of h degrees turns the cop's face by h.
    EXPECT_TRUE(Sees(Cop("c", 0, -20, 0, 69)));
    EXPECT_TRUE(Sees(Cop("c", 0, -20, 0, -69)));
    EXPECT_FALSE(Sees(Cop("c", 0, -20, 0, 71)));
    EXPECT_TRUE(Sees(Cop("c", 0, -20, 0, 89), R"("SightAngle": 180)"));
    // From 359 degrees on there is no angle test at all; just below, straight behind stays hidden.
    EXPECT_TRUE(Sees(Cop("c", 0, -20, 0, 180), R"("SightAngle": 359)"));
    EXPECT_FALSE(Sees(Cop("c", 0, -20, 0, 180), R"("SightAngle": 358)"));
}

TEST(SightTest, ConeIsSkippedRightAboveThePlayer) {
    const std::string narrow = R"("SightAngle": 10)";
    EXPECT_TRUE(Sees(Cop("c", 0.001f, 0, 5, 180), narrow));
    EXPECT_FALSE(Sees(Cop("c", 0.002f, 0, 5, 180), narrow));
    // Skipping the cone still leaves the line of sight to pass.
    EXPECT_FALSE(Sees(Cop("c", 0, 0, 5, 180), narrow,
                      R"(, "world": { "boxes": [ { "min": [-1, -1, 2], "max": [1, 1, 3] } ] })"));
}

TEST(SightTest, BuildingsAlwaysBlock) {
    const std::string wall = R"(, "world": { "boxes": [ { "min": [-5, -11, 0], "max": [5, -9, 3] } ] })";
    EXPECT_FALSE(Sees(Cop("c", 0, -20), "", wall));
    EXPECT_TRUE(Sees(Cop("c", 0, -20), "",
                     R"(, "world": { "boxes": [ { "min": [-5, -11, 0], "max": [5, -9, 0.5] } ] })"));
}

TEST(SightTest, VehiclesBlockOnlyBetweenTwoPeopleOnFoot) {
    const std::string across = R"({ "id": "blocker", "model": 596, "pos": [0, -10, 0], "heading": 90 })";
    const std::string mine = R"({ "id": "mine", "model": 596, "pos": [0, 0, 0] })";
    const std::string patrol = R"({ "id": "patrol", "model": 596, "pos": [0, -20, 0] })";
    const std::string copInPatrol =
        R"({ "id": "c", "type": 6, "pos": [0, -20, 0], "vehicle": "patrol", "seat": "driver" })";
    EXPECT_FALSE(Sees(Cop("c", 0, -20), "", R"(, "vehicles": [ )" + across + " ]"));
    EXPECT_TRUE(
        Sees(Cop("c", 0, -20), "", R"(, "vehicles": [ )" + across + ", " + mine + " ]", kPlayerInCar));
    EXPECT_TRUE(Sees(copInPatrol, "", R"(, "vehicles": [ )" + across + ", " + patrol + " ]"));
    // Turned along the line of sight the same car leaves it free.
    EXPECT_TRUE(Sees(Cop("c", 3, -20), "",
                     R"(, "vehicles": [ { "model": 596, "pos": [0, -10, 0], "heading": 0 } ])"));
}

TEST(SightTest, EachSituationHasItsOwnRange) {
    const std::string car = R"(, "vehicles": [ { "id": "v", "model": 596, "pos": [0, -35, 0] } ])";
    const std::string farCar = R"(, "vehicles": [ { "id": "v", "model": 596, "pos": [0, -36, 0] } ])";
    const std::string heli = R"(, "vehicles": [ { "id": "v", "model": 497, "pos": [0, -70, 0] } ])";
    const auto seated = [](float y) {
        return R"({ "id": "c", "type": 6, "pos": [0, )" + std::to_string(y) +
               R"(, 0], "vehicle": "v", "seat": "driver" })";
    };
    EXPECT_TRUE(Sees(seated(-35), "", car));
    EXPECT_FALSE(Sees(seated(-36), "", farCar));
    EXPECT_TRUE(Sees(seated(-70), "", heli));
}

}  // namespace
