#pragma once

#include <cstdint>

class CPed;
struct CopState;

/// Sets the time from which the cop's next aim scan may come.
void ArmAimTimer(CopState& cop, std::uint32_t now);
/// The first loaded firearm in slot order (weapon types 22 to 34), or 0 without one.
int LoadedFirearm(const CPed& ped);
/// The cop points weapon `weapon` at a random spot in front of him for a moment.
void GiveAimScan(CPed& ped, CopState& cop, int weapon, std::uint32_t now);
