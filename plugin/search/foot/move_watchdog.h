#pragma once

#include <cstdint>

class CPed;
struct CopState;
struct CVector;

/// Catches a travelling or sweeping cop who has not moved a metre in 2.5 s: flushes him, sends him
/// in straight lines for 10 s and returns true so that a new step is chosen at once.
bool MovementWatchdog(CPed& ped, CopState& cop, const CVector& position, std::uint32_t now);
