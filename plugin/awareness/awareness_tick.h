#pragma once

#include <cstdint>

/// One awareness tick: who sees the player, who has lost him, and what each cop does about it.
void AwarenessTick(std::uint32_t now);
