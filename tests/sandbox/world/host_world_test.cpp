// The host functions answer for the one world alive, and for nothing once it is gone.

#include <gtest/gtest.h>

#include <stdexcept>

#include "host/player.h"
#include "host_api/desktop.h"
#include "support/host_world.h"
#include "world/host_world.h"

namespace {

TEST(HostWorld, HostCallsReachTheLiveWorldAndASecondWorldDoesNotTakeItsPlace) {
    auto world = testing_support::MakeWorld();
    EXPECT_EQ(FindPlayerPed(-1), world->Player());
    EXPECT_EQ(FindPlayerWanted(-1), &world->Wanted());
    EXPECT_THROW(testing_support::MakeWorld(), std::runtime_error);
    // The refused world left the live one answering.
    EXPECT_EQ(&sandbox::HostWorld(), world.get());
    world->HoldKey(0x79, 100);
    EXPECT_NE(sandbox::HostKeyState(0x79), 0);
    EXPECT_EQ(sandbox::HostMessageBox("text", "caption"), 1);
    EXPECT_EQ(world->MessageBoxes(), (std::vector<std::string>{"caption: text"}));
}

TEST(HostWorld, WithNoWorldAliveTheHostFindsNothingAndThenTakesTheNextWorld) {
    testing_support::MakeWorld().reset();
    EXPECT_EQ(sandbox::HostWorldIfAlive(), nullptr);
    EXPECT_THROW(sandbox::HostWorld(), std::logic_error);
    EXPECT_EQ(FindPlayerPed(-1), nullptr);
    EXPECT_EQ(FindPlayerWanted(-1), nullptr);
    EXPECT_EQ(sandbox::HostKeyState(0x79), 0);
    EXPECT_EQ(sandbox::HostMessageBox("text", "caption"), 1);
    auto next = testing_support::MakeWorld();
    EXPECT_EQ(FindPlayerPed(-1), next->Player());
}

}  // namespace
