#include "search/foot/foot_search.h"

void FootSearchTick(CPed&, CopState&, const CopSighting&, std::uint32_t) {}
