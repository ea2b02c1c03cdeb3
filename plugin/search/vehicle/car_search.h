#pragma once

#include <cstdint>

class CPed;
class CVehicle;

/// Forgets the blurred player position that tracking cars drive to.
void ResetCarTrack();
/// One step of the search of a car whose driver lost the player: drive to the scene, stop, unload.
void CarSearchStep(CVehicle& vehicle, CPed& driver, std::uint32_t now);
