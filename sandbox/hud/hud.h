#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "host/player.h"
#include "host/screen.h"

namespace sandbox {

/// The host's HUD as far as the wanted stars go: what was drawn last and how.
struct Hud {
    static constexpr CRGBA kDefaultStarColour{144, 98, 16, 255};

    float fontAlpha = 255.0f;       ///< set with CFont::SetAlphaFade
    float drawnFontAlpha = 255.0f;  ///< font alpha of the last star drawing
    /// The colour table as the last star drawing used it; entry 0 is the stars' own colour.
    std::array<CRGBA, kHudColourEntries> drawnColours = [] {
        std::array<CRGBA, kHudColourEntries> colours{};
        colours.fill(kDefaultStarColour);
        return colours;
    }();
    using ColourTable = std::array<CRGBA, kHudColourEntries>;
    /// The colour table each star call of the last frame drew with, in call order.
    std::vector<ColourTable> callColours;
    bool drawnFlashing = false;  ///< the stars blinked at the last drawing
    bool drawnVisible = false;   ///< stars were on screen at the last drawing
    int drawCount = 0;

    /// The fade factor the last drawing shows: recovered from its font alpha (255 = not faded).
    float DrawnStarAlpha() const;

    /// The host's star drawing at `now` (ms): records what it draws for the wanted record given.
    void DrawStars(const CWanted& wanted, std::uint32_t now);
};

/// Fills the host's colour table with its normal colours.
void ResetHudColours();

}  // namespace sandbox
