#include "world/ped_activity.h"

#include <algorithm>
#include <cmath>

#include "world/host_clock.h"
#include "world/move_states.h"
#include "world/world.h"

namespace sandbox {

namespace {

bool HasGun(const Ped& ped) { return ped.m_aWeapons[ped.m_nActiveWeaponSlot].m_eWeaponType >= 22; }

void Attack(World& world, Ped& ped, float dt) {
    Ped* target = world.Peds().FromHandle(ped.activity.targetHandle);
    if (target == nullptr || !(target->m_fHealth > 0.0f)) {
        ped.activity = {};
        return;
    }
    const Vec3 p = ped.Position();
    const Vec3 t = target->Position();
    const float reach = HasGun(ped) ? kGunAttackRange : kMeleeAttackRange;
    const float d = Length2D(t - p);
    ped.m_fHeading = HeadingAlong(t - p);
    const Vec3 eye{0.0f, 0.0f, 0.6f};
    if (d > reach || !world.Geometry().SegmentClear(p + eye, t + eye)) {
        // Close in straight at him, re-aimed every frame as he moves.
        ped.move.waypoints = {t};
        ped.move.speed = MoveStateSpeed(6);
        ped.move.until = 0;
        ped.moving = true;
        return;
    }
    ped.moving = false;
    float hurt = kAttackDamagePerSecond * dt;
    const float absorbed = std::min(target->m_fArmour, hurt);
    target->m_fArmour -= absorbed;
    hurt -= absorbed;
    target->m_fHealth = std::max(0.0f, target->m_fHealth - hurt);
    target->m_pLastDamageEntity = &ped;
}

}  // namespace

void UpdatePedActivities(World& world, float dt) {
    auto& peds = world.Peds();
    for (int i = 0; i < peds.Size(); ++i) {
        Ped* ped = peds.At(i);
        if (ped == nullptr || ped->activity.kind == Activity::Kind::none) continue;
        if (Ended(world.Now(), ped->activity.until)) {
            ped->activity = {};
            continue;
        }
        switch (ped->activity.kind) {
            case Activity::Kind::lookAbout: ped->m_fHeading += kLookAboutTurnRate * dt; break;
            case Activity::Kind::aim: {
                // A point that is not a number gives no direction: he keeps facing where he did.
                const float heading = HeadingAlong(ped->activity.point - ped->Position());
                if (!std::isnan(heading)) ped->m_fHeading = heading;
                break;
            }
            case Activity::Kind::attack: Attack(world, *ped, dt); break;
            case Activity::Kind::none: break;
        }
    }
}

}  // namespace sandbox
