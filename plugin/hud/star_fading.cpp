#include "hud/star_fading.h"

#include <cstring>

#include "base/log.h"
#include "base/settings.h"
#include "host/call_hook.h"
#include "host/code.h"
#include "host/patch.h"
#include "host/player.h"
#include "host/screen.h"
#include "hud/star_fade_math.h"

namespace {

// The HUD's drawing code lies in this range on the builds we support.
constexpr plugin::CodeAddress kScanFirst = 0x58D000;
constexpr plugin::CodeAddress kScanLast = 0x590FFF;
constexpr plugin::CodeAddress kDrawWanted = 0x58D9A0;

float starAlpha = 1.0f;  // star fade factor; 1 = normal
std::uint32_t lastStarFrame = 0;
bool starHookInstalled = false;
// Destroyed at unload: the HUD must not call into this module once it is gone.
plugin::patch::CallRedirects starRedirects;

}  // namespace

void InstallStarHook() {
    if (starHookInstalled || cfg.FadeStars == 0) return;
    starHookInstalled = true;
    int redirected = 0;
    for (plugin::CodeAddress a = kScanFirst; a <= kScanLast; ++a) {
        if (plugin::ReadRelativeCall(a) != kDrawWanted) continue;
        starRedirects.Redirect(a, &DrawWantedFaded, true);
        LogLine("star hook: call to CHud::DrawWanted at 0x%X redirected", a);
        ++redirected;
    }
    if (redirected == 0) {
        LogLine("star hook: no call to CHud::DrawWanted found - stars will not fade (unsupported exe?)");
    }
}

void ResetStarAlpha() { starAlpha = 1.0f; }

void UpdateStarAlpha(std::uint32_t now, std::uint32_t lastSeenAny, CWanted& wanted) {
    // Unsigned on purpose: a negative delay reads as a huge one, so the stars never fade.
    const std::uint32_t lostFor = now - lastSeenAny;
    const bool faded = lostFor > static_cast<std::uint32_t>(cfg.StarFadeDelayMs);
    if (cfg.FlashStars != 0 && faded) wanted.m_nLastTimeWantedFlashed = now;
    const float target = (cfg.FadeStars != 0 && faded) ? 1.0f - cfg.StarFadeAmount : 1.0f;
    const std::uint32_t dt = now - lastStarFrame;
    lastStarFrame = now;
    starAlpha = StepStarAlpha(starAlpha, target, dt, cfg.StarFadeSpeedMs);
}

void DrawWantedFaded() {
    if (cfg.FadeStars == 0 || starAlpha >= kFadedBelow) {
        CHud::DrawWanted();
        return;
    }
    const float a = starAlpha;
    CRGBA saved[kHudColourEntries];
    std::memcpy(saved, HudColour, sizeof saved);
    FadeColours(HudColour, kHudColourEntries, a);
    CFont::SetAlphaFade(FadedFontAlpha(a));
    CHud::DrawWanted();
    CFont::SetAlphaFade(255.0f);
    std::memcpy(HudColour, saved, sizeof saved);
}
