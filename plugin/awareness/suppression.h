#pragma once

#include <cstdint>

class CPed;
class CVehicle;
struct CopState;

/// Keeps the player off the criminal lists of cops that lost him (every frame).
void CriminalListScrub(std::uint32_t now);

/// A cop in a car that the car search parked stays lost and is ordered out, at most every 1500 ms.
/// True when that hold applies to him (he is then done for the tick).
bool ParkedCarHold(CPed& ped, CopState& cop, CVehicle* vehicle, std::uint32_t now);

/// A lost cop on foot: keeps his flag up, takes him over with a first flush, and flushes host pursuit
/// tasks that come back. True when his foot search may run this tick.
bool HoldLostCopOnFoot(CPed& ped, CopState& cop, std::uint32_t now);
