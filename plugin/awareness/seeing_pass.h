#pragma once

#include <cstdint>

#include "host/vector.h"

/// What the seeing pass found this tick.
struct SeeingResult {
    int seeing = 0;
    bool sceneShared = false;
};

/// Stamps new records, counts the cops that see the player and moves the scene to P when one of
/// them may share it.
SeeingResult SeeingPass(const CVector& P, std::uint32_t now);
/// Cops near a seeing cop hear where the player is; one hop, no relaying within the tick.
void RadioPass(std::uint32_t now);
