#pragma once

#include <cstdint>

#include "awareness/disguise.h"

/// Hears the player's shots and moves the scene to him (every frame; throttles itself).
void GunshotCheck(std::uint32_t now);
