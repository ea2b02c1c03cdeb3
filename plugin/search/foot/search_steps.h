#pragma once

#include <cstdint>

#include "records/cop_state.h"

class CPed;
struct CVector;

/// Sends a cop outside the near zone to a stand-off point on his own side of the target.
void GiveTravel(CPed& ped, CopState& cop, const CVector& position, const CVector& target, float distance,
                std::uint32_t now);
/// Sends a cop inside the near zone along the next leg around the target.
void GiveSweep(CPed& ped, CopState& cop, const CVector& position, const CVector& target, std::uint32_t now);
/// Lets the cop stand and look about for a while.
void GiveLookAbout(CPed& ped, CopState& cop, std::uint32_t now);
