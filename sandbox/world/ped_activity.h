#pragma once

namespace sandbox {

class World;

/// Carries the peds' activities one frame on: looking about, aiming, attacking.
void UpdatePedActivities(World& world, float dtSeconds);

/// How fast an attack hurts, in health per second, and from how far: guns reach, fists do not.
constexpr float kAttackDamagePerSecond = 10.0f;
constexpr float kGunAttackRange = 15.0f;
constexpr float kMeleeAttackRange = 1.5f;
constexpr float kLookAboutTurnRate = 1.5f;  ///< radians per second

}  // namespace sandbox
