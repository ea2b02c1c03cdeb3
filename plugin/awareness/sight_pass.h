#pragma once

#include <cstdint>

class CPed;

/// Lists every live cop within 200 m of the player, in pool order, with what each of them sees.
void BuildSightings(CPed& player, std::uint32_t now);
