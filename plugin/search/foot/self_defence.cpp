#include "search/foot/self_defence.h"

void DetectAttacks(std::uint32_t) {}

bool DefendStep(CPed&, CopState&, const CopSighting&, std::uint32_t) { return false; }
