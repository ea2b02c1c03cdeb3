// The host's helicopter order, reached as a member function at its code address.

#include <gtest/gtest.h>

#include "host/code.h"
#include "scenario/scenario.h"
#include "support/host_world.h"

namespace {

TEST(HeliOrder, SetsTheFlyTargetAndJournalsTheOrder) {
    auto world = testing_support::MakeWorld();
    sandbox::VehicleSpec setup;
    setup.id = "heli1";
    setup.model = 497;
    sandbox::Vehicle* heli = world->SpawnVehicle(setup);
    plugin::CallMethod<0x6A2390>(static_cast<CVehicle*>(heli), 10.0f, 20.0f, 40.0f, 31.0f, 55.0f);
    EXPECT_TRUE(heli->hasTarget);
    EXPECT_EQ(heli->target.x, 10.0f);
    EXPECT_EQ(heli->target.y, 20.0f);
    EXPECT_EQ(heli->target.z, 40.0f);
    EXPECT_EQ(heli->flyHeight, 40.0f);  // above the ground at 0
    ASSERT_EQ(world->Journal().HostCalls().size(), 1u);
    const sandbox::HostCall& call = world->Journal().HostCalls()[0];
    EXPECT_EQ(call.address, 0x6A2390u);
    EXPECT_EQ(call.target, "heli1");
    EXPECT_EQ(call.args, (std::vector<float>{10.0f, 20.0f, 40.0f, 31.0f, 55.0f}));
}

TEST(HeliOrder, AnObjectOutsideTheVehiclePoolIsRefusedAndReported) {
    auto world = testing_support::MakeWorld();
    CVehicle stray;
    plugin::CallMethod<0x6A2390>(&stray, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f);
    EXPECT_TRUE(world->Journal().HostCalls().empty());
    ASSERT_EQ(world->ScriptErrors().size(), 1u);
}

}  // namespace
