#pragma once

#include <cstdint>

struct Scene;

/// Hears the player's shots and moves the scene to him (every frame; throttles itself). A lost cop
/// searching on foot within hearing starts his search over towards the new scene.
void GunshotCheck(std::uint32_t now, Scene& scene);
