#pragma once

#include <cstdint>

class CVehicle;
struct Scene;

/// One tick of a helicopter whose pilot lost the player: fly to the scene and sweep around it.
void HeliSweep(CVehicle& heli, const Scene& scene, std::uint32_t now);
/// The pilot knows where the player is again: forget the sweep and give the helicopter back to the host.
void HeliChasingAgain(CVehicle& heli);
