#pragma once

#include <cstdint>

class CPed;
class CVehicle;
struct Scene;

/// Forgets the blurred player position that tracking cars drive to.
void ResetCarTrack();
/// One step of the search of a car whose driver lost the player: drive to the scene (or near the
/// player, when tracking), stop, unload.
void CarSearchStep(CVehicle& vehicle, CPed& driver, const Scene& scene, std::uint32_t now);
