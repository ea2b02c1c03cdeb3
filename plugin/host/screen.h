#pragma once

class CCamera {
public:
    /// How far out the host streams and draws peds, as a factor of its normal range.
    float m_fPedRangeMultiplier = 1.0f;
};

extern CCamera TheCamera;

class CMessages {
public:
    /// Shows text at once for timeMs, pushing out what was showing.
    static void AddMessageJumpQ(const char* text, unsigned int timeMs, unsigned short flag,
                                bool previousBrief);
};

struct CRGBA {
    unsigned char r, g, b, a;
};

constexpr int kHudColourEntries = 15;
/// The HUD's colour table.
extern CRGBA HudColour[kHudColourEntries];

class CFont {
public:
    /// Alpha applied to everything the font draws, 0 to 255.
    static void SetAlphaFade(float alpha);
};

class CHud {
public:
    static void DrawWanted();
};
