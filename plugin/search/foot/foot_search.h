#pragma once

#include <cstdint>

class CPed;
struct CopState;
struct Scene;

/// One search tick of a lost cop on foot whom the plugin has taken over: around his own point from
/// the car that dropped him, or around the scene.
void FootSearchTick(CPed& ped, CopState& cop, const Scene& scene, std::uint32_t now);
