// The sandbox's own timers (firing, key holds, messages, tasks, move orders) across the clock wrap.

#include <gtest/gtest.h>

#include <cstdint>

#include "host/weapon.h"
#include "host/win32/windows.h"
#include "support/host_world.h"
#include "world/host_clock.h"
#include "world/world.h"

namespace {

constexpr std::uint32_t kBeforeWrap = 0xFFFFFFFFu - 299;  // 300 ms before the clock wraps

TEST(HostClock, EndsHoldTheirTimeAcrossTheWrap) {
    const std::uint32_t end = sandbox::EndAfter(kBeforeWrap, 1000);
    EXPECT_EQ(end, 700u);
    EXPECT_TRUE(sandbox::Running(kBeforeWrap, end));
    EXPECT_TRUE(sandbox::Running(699, end));
    EXPECT_TRUE(sandbox::Ended(700, end));
    // 0 is "no end": never running, never ended; a timer that would end at 0 ends 1 ms later.
    EXPECT_FALSE(sandbox::Running(5, 0));
    EXPECT_FALSE(sandbox::Ended(5, 0));
    EXPECT_EQ(sandbox::EndAfter(kBeforeWrap, 300), 1u);
    // Negative and far times are held to what the signed difference can tell apart.
    EXPECT_EQ(sandbox::EndAfter(1000, -5), 1000u);
    EXPECT_TRUE(sandbox::Running(1000, sandbox::EndAfter(1000, 0xFFFFFFFFll)));
}

TEST(HostTimers, FiringKeysMessagesAndTasksRunPastTheWrap) {
    auto world = testing_support::MakeWorld();
    world->SetClock(kBeforeWrap);
    sandbox::Ped& player = *world->Player();
    CWeapon& weapon = player.m_aWeapons[player.m_nActiveWeaponSlot];
    weapon.m_nState = WEAPONSTATE_FIRING;
    world->SetFiringUntil(sandbox::EndAfter(world->Now(), 1000));
    world->HoldKey(VK_F10, 1000);
    world->ShowMessage("held", 1000);
    player.AddTask(704, sandbox::EndAfter(world->Now(), 1000));

    // Still running just before the wrap and just after it.
    for (const std::uint32_t ms : {100u, 500u}) {
        testing_support::RunHostFrames(*world, ms);
        EXPECT_EQ(weapon.m_nState, WEAPONSTATE_FIRING) << world->Now();
        EXPECT_TRUE(world->KeyDown(VK_F10)) << world->Now();
        EXPECT_EQ(world->Message(), "held") << world->Now();
        EXPECT_TRUE(player.HasTask(704)) << world->Now();
    }

    testing_support::RunHostFrames(*world, 400);
    EXPECT_EQ(weapon.m_nState, WEAPONSTATE_READY);
    EXPECT_FALSE(world->KeyDown(VK_F10));
    EXPECT_EQ(world->Message(), "");
    EXPECT_FALSE(player.HasTask(704));
}

TEST(HostTimers, TimersWithoutAnEndRunOnAtEveryClock) {
    auto world = testing_support::MakeWorld();
    world->SetClock(0x80000000u);  // where a signed test of an end of 0 would read "far ahead"
    sandbox::Ped& player = *world->Player();
    player.AddTask(1103, 0);
    testing_support::RunHostFrames(*world, 100);
    EXPECT_TRUE(player.HasTask(1103));
    CWeapon& weapon = player.m_aWeapons[player.m_nActiveWeaponSlot];
    weapon.m_nState = WEAPONSTATE_FIRING;  // firing with no end set stops at the next frame
    testing_support::RunHostFrames(*world, 50);
    EXPECT_EQ(weapon.m_nState, WEAPONSTATE_READY);
}

}  // namespace
