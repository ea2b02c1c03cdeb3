#pragma once

#include <cstdint>

class CPed;
struct CopState;
struct CopSighting;

/// Notices cops hurt by someone other than the player and spreads the word to cops near them.
void DetectAttacks(std::uint32_t now);
/// Self-defence of one listed cop; true when his processing for this tick ends here.
bool DefendStep(CPed& ped, CopState& cop, const CopSighting& sighting, std::uint32_t now);
