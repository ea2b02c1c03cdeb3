#pragma once

#include <cstdint>

#include "host/vector.h"

class CPed;
class CVehicle;
struct CopState;

/// The vehicle the ped sits in, or null when he is on foot (he may still belong to one).
CVehicle* SeatedVehicle(const CPed& ped);
bool IsPoliceHeli(const CVehicle* vehicle);

/// Whether the cop sees the player at P this tick: range, close range, view cone, then line of sight.
/// `record`: the cop's record, or null. `disguised`: the player sits in a vehicle the police do not know.
/// Reads the cop's record as it stands before this tick's seeing and radio passes.
bool SightTest(CPed& cop, const CopState* record, const CVector& P, bool playerOnFoot, bool disguised,
               std::uint32_t now);
