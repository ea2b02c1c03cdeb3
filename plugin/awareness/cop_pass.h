#pragma once

#include <cstdint>

/// Walks the sighting list in order: vehicle handling, defence, the parked-car hold, the loss test and,
/// for lost cops, their search. Returns how many listed cops count as lost this tick.
int CopPass(std::uint32_t now);
