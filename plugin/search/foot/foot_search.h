#pragma once

#include <cstdint>

class CPed;
struct CopState;
struct CopSighting;

/// One search tick of a lost cop on foot whom the plugin has taken over.
void FootSearchTick(CPed& ped, CopState& cop, const CopSighting& sighting, std::uint32_t now);
