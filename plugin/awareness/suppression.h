#pragma once

#include <cstdint>

/// Keeps the player off the criminal lists of cops that lost him (every frame).
void CriminalListScrub(std::uint32_t now);
