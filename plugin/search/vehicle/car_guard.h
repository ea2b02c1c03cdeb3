#pragma once

#include <cstdint>

class CVehicle;
struct VehicleState;

/// Compares the host's law-enforcer car counter with the real number and heals it when too high.
void CopCarCounterCheck();
/// Keeps parked plugin cars parked against the host's missions (every frame of an episode).
void ParkedCarGuard(std::uint32_t now);
/// Forgets vehicles that left the pool and gives back law-enforcer flags that are due.
void VehicleRecordPass(std::uint32_t now);
/// Overrides host chase missions on a car the car search is driving (before each of its steps).
void CarMissionCheck(CVehicle& vehicle, VehicleState& state, std::uint32_t now);
