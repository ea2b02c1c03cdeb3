#pragma once

#include <cstdint>

/// min + rand() % (max - min + 1), worked out in 64 bits: INI values at the ends of the int range
/// would otherwise wrap the span to zero (a division by zero) or to a negative modulus. A span below
/// one (max < min) draws all the same, so that the sequence of draws never depends on the values.
std::int64_t DrawBetween(std::int32_t min, std::int32_t max);
