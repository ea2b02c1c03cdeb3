#pragma once

#include <cstdint>

class Disguise;
struct Scene;

/// One awareness tick: who sees the player, who has lost him, and what each cop does about it.
/// Moves the scene and updates the disguise.
void AwarenessTick(std::uint32_t now, Scene& scene, Disguise& disguise);
