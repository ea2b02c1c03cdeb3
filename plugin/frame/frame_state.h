#pragma once

#include <cstdint>

#include "frame/game_clock.h"
#include "host/vector.h"

// Plugin-wide state of the frame and the scene. Zero at load unless a value is given.
extern bool enabled;            ///< switched on with F10
extern bool initialised;        ///< the first-frame work is done
extern bool toggleKeyWasDown;   ///< F10 was down at the previous frame
extern std::uint32_t lastCopCarCheck;    ///< ms
extern bool sceneValid;         ///< a scene is set; also marks a running wanted episode
extern CVector scenePos;        ///< where the police believe the player to be
extern std::uint32_t sceneTime;          ///< ms, when scenePos was last set
extern std::uint32_t lastSeenAny;        ///< ms, last time any cop saw the player
extern std::uint32_t lastAwarenessTick;  ///< ms
extern bool pedRangeApplied;    ///< the camera's ped range multiplier is ours
extern float savedPedRange;     ///< the camera's value before we changed it
extern float starAlpha;         ///< star fade factor; 1 = normal
