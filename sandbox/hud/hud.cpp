#include "hud/hud.h"

#include <algorithm>

CRGBA HudColour[kHudColourEntries];

namespace {
// The stars blink every 250 ms for a second after the wanted record's flash stamp was written.
constexpr std::uint32_t kFlashPeriodMs = 250;
constexpr std::uint32_t kFlashWindowMs = 1000;
}  // namespace

namespace sandbox {

float Hud::DrawnStarAlpha() const {
    if (drawnFontAlpha >= 255.0f) return 1.0f;
    // Faded stars are drawn with font alpha (a * 0.6 + 0.4) * 255.
    return (drawnFontAlpha / 255.0f - 0.4f) / 0.6f;
}

void Hud::DrawStars(const CWanted& wanted, std::uint32_t now) {
    const bool flashing = wanted.m_nWantedLevel > 0 && wanted.m_nLastTimeWantedFlashed != 0 &&
                          now - wanted.m_nLastTimeWantedFlashed < kFlashWindowMs;
    drawnFlashing = flashing;
    drawnVisible = wanted.m_nWantedLevel > 0 && !(flashing && (now / kFlashPeriodMs) % 2 == 1);
    drawnFontAlpha = fontAlpha;
    std::copy(std::begin(HudColour), std::end(HudColour), drawnColours.begin());
    callColours.push_back(drawnColours);
    ++drawCount;
}

void ResetHudColours() { std::fill(std::begin(HudColour), std::end(HudColour), Hud::kDefaultStarColour); }

}  // namespace sandbox
