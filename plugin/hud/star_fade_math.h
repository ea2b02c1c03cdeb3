#pragma once

#include <cstdint>

struct CRGBA;

/// Alpha below this is drawn faded; at or above it the stars are drawn as the host draws them.
constexpr float kFadedBelow = 0.99f;

/// Moves the star alpha one frame towards `target` by dtMs / speedMs, with dtMs taken as at most
/// 200 ms; a speed of 0 or less jumps to the target.
float StepStarAlpha(float alpha, float target, std::uint32_t dtMs, std::int32_t speedMs);

/// Draws red, green and blue of each colour towards grey as `a` falls; alpha is left alone.
void FadeColours(CRGBA* colours, int count, float a);

/// Font alpha (0 to 255) of stars faded to `a`: 255 at a = 1 down to 102 at a = 0.
float FadedFontAlpha(float a);
