#pragma once

#include <cstdint>

class CPed;
struct CopState;
struct CVector;

// The foot-search steps, as kept in CopState::searchStep.
inline constexpr std::int32_t kStepNone = 0;
inline constexpr std::int32_t kStepTravel = 1;
inline constexpr std::int32_t kStepSweep = 2;
inline constexpr std::int32_t kStepLookAbout = 3;
inline constexpr std::int32_t kStepAimScan = 4;

/// Sends a cop outside the near zone to a stand-off point on his own side of the target.
void GiveTravel(CPed& ped, CopState& cop, const CVector& position, const CVector& target, float distance,
                std::uint32_t now);
/// Sends a cop inside the near zone along the next leg around the target.
void GiveSweep(CPed& ped, CopState& cop, const CVector& position, const CVector& target, std::uint32_t now);
/// Lets the cop stand and look about for a while.
void GiveLookAbout(CPed& ped, CopState& cop, std::uint32_t now);
