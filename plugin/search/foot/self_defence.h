#pragma once

#include <cstdint>

class CPed;
struct CopState;
struct CopSighting;

/// Self-defence of one listed cop; true when his processing for this tick ends here.
bool DefendStep(CPed& ped, CopState& cop, const CopSighting& sighting, std::uint32_t now);
