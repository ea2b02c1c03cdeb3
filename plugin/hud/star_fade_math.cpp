#include "hud/star_fade_math.h"

#include <algorithm>

#include "host/screen.h"

namespace {
constexpr std::uint32_t kMaxStepMs = 200;
constexpr float kGreyLevel = 110.0f;
}  // namespace

float StepStarAlpha(float alpha, float target, std::uint32_t dtMs, std::int32_t speedMs) {
    if (speedMs <= 0) return target;
    // A long gap (episode start, a stall) moves the alpha by at most 200 ms worth.
    const float step = static_cast<float>(std::min(dtMs, kMaxStepMs)) / static_cast<float>(speedMs);
    if (target > alpha) return std::min(alpha + step, target);
    if (alpha > target) return std::max(alpha - step, target);
    return alpha;
}

void FadeColours(CRGBA* colours, int count, float a) {
    for (int i = 0; i < count; ++i) {
        for (unsigned char* channel : {&colours[i].r, &colours[i].g, &colours[i].b}) {
            *channel =
                static_cast<unsigned char>((static_cast<float>(*channel) - kGreyLevel) * a + kGreyLevel);
        }
    }
}

float FadedFontAlpha(float a) { return (a * 0.6f + 0.4f) * 255.0f; }
