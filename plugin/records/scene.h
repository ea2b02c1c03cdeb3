#pragma once

#include <cstdint>

#include "host/vector.h"

/// Where the police believe the player to be, and when any cop last saw him. Lives for the process;
/// sceneValid also marks a running wanted episode.
struct Scene {
    CVector scenePos;               ///< where the police believe the player to be
    std::uint32_t sceneTime = 0;    ///< ms, when scenePos was last set
    bool sceneValid = false;        ///< a scene is set
    std::uint32_t lastSeenAny = 0;  ///< ms, last time any cop saw the player

    /// The police now believe the player to be at `at`.
    void MoveTo(const CVector& at, std::uint32_t now) {
        scenePos = at;
        sceneValid = true;
        sceneTime = now;
    }
};
