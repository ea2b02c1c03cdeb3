#pragma once

#include <cstdint>

#include "awareness/disguise.h"
#include "records/scene.h"

// Plugin-wide state of the frame and the episode. Zero at load unless a value is given.
extern bool enabled;                   ///< switched on with F10
extern bool initialised;               ///< the first-frame work is done
extern bool toggleKeyWasDown;          ///< F10 was down at the previous frame
extern std::uint32_t lastCopCarCheck;  ///< ms
extern Scene scene;        ///< where the police believe the player to be; valid while an episode runs
extern Disguise disguise;  ///< the player's vehicle as the police know it
extern std::uint32_t lastAwarenessTick;  ///< ms
extern bool pedRangeApplied;             ///< the camera's ped range multiplier is ours
extern float savedPedRange;              ///< the camera's value before we changed it
