// The disguise of an unknown vehicle: gained, lost, recognised, and what it hides.

#include <gtest/gtest.h>

#include "plugin/awareness/awareness_scenario.h"

namespace {

const std::string kCars = R"("vehicles": [ { "id": "car1", "model": 400, "pos": [0, 0, 0] },
    { "id": "car2", "model": 400, "pos": [0, 0, 0] }, { "id": "car3", "model": 400, "pos": [0, 0, 0] } ])";

// A still cop (no foot search) who faces away from the player until turned.
class DisguiseSession : public testing_support::ModuleSession {
public:
    explicit DisguiseSession(const std::string& settings,
                             const std::string& seat = R"(, "vehicle": "car1", "seat": "driver")")
        : ModuleSession("[Settings]\nFootSearch=0\n" + settings,
                        awareness_test::Scene(
                            kCars + R"(, "peds": [ )" + awareness_test::Cop("cop", 0, -20, 0, 180) + " ]", "",
                            400, R"({ "pos": [0, 0, 0], "wanted": 1)" + seat + " }")) {}
    void RunFor(std::uint32_t ms) { Frames(static_cast<int>(ms / 50), 50); }
    void Enter(const char* car) { World().SeatPed(*World().Player(), *World().FindVehicle(car), -1); }
    sandbox::Ped& Cop() { return *World().FindPed("cop"); }
    int Count(const std::string& pattern) const { return awareness_test::CountIn(Log(), pattern); }
};

TEST(DisguiseTest, AnotherVehicleDisguisesAndTheKnownOneEndsIt) {
    DisguiseSession s("");
    s.RunFor(300);
    s.Enter("car2");
    s.RunFor(150);
    EXPECT_EQ(s.Count("disguise: player is in an unknown vehicle (playerVeh=257 knownVeh=1)"), 1);
    s.Enter("car3");  // one unseen car to another: still disguised
    s.RunFor(150);
    EXPECT_EQ(s.Count("disguise: *"), 1);
    s.Enter("car1");
    s.RunFor(150);
    EXPECT_EQ(s.Count("disguise: cops know the player's vehicle again (playerVeh=1 knownVeh=1)"), 1);
}

TEST(DisguiseTest, ALostCopSeesADisguisedPlayerOnlyCloseAndThatEndsTheDisguise) {
    DisguiseSession s("");
    s.RunFor(3300);  // the cop has lost him
    s.Enter("car2");
    s.Cop().m_fHeading = 0.0f;  // facing the player, 20 m away
    s.RunFor(600);
    EXPECT_EQ(s.Count("disguise: player is in an unknown vehicle *"), 1);
    EXPECT_EQ(s.Count("cop is chasing again: *"), 0);
    s.Cop().SetPosition({0, -6, 0});
    s.RunFor(150);
    EXPECT_EQ(s.Count("disguise: cops recognised the vehicle 257"), 1);
    s.RunFor(150);
    EXPECT_EQ(s.Count("disguise: cops know the player's vehicle again (playerVeh=257 knownVeh=257)"), 1);
}

TEST(DisguiseTest, SwitchedOffTheVehicleIsStillRecognised) {
    DisguiseSession s("DisguiseEnabled=0\n");
    s.RunFor(300);
    s.Enter("car2");
    s.Cop().m_fHeading = 0.0f;
    s.RunFor(300);
    EXPECT_EQ(s.Count("disguise: player is in *"), 0);
    EXPECT_EQ(s.Count("disguise: cops recognised the vehicle 257"), 1);
}

TEST(DisguiseTest, APlayerOnFootAtTheStartIsNotDisguisedByHisFirstCar) {
    DisguiseSession s("", "");
    s.RunFor(300);
    s.Enter("car2");
    s.RunFor(600);
    EXPECT_EQ(s.Count("disguise: *"), 0);
}

}  // namespace
