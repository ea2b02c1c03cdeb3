#include "search/foot/random_span.h"

#include <cstdlib>

std::int64_t DrawBetween(std::int32_t min, std::int32_t max) {
    std::int64_t span = static_cast<std::int64_t>(max) - min + 1;
    if (span < 1) span = 1;
    return min + static_cast<std::int64_t>(std::rand()) % span;
}
