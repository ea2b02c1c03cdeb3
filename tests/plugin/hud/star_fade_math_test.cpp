#include <gtest/gtest.h>

#include "host/screen.h"
#include "hud/star_fade_math.h"

namespace {

TEST(StepStarAlpha, MovesByFrameTimeOverSpeedAndStopsAtTheTarget) {
    // 1000 ms per 1.0 of alpha and 20 ms frames: 0.02 a frame, down and up.
    EXPECT_FLOAT_EQ(StepStarAlpha(1.0f, 0.4f, 20, 1000), 0.98f);
    EXPECT_FLOAT_EQ(StepStarAlpha(0.5f, 1.0f, 20, 1000), 0.52f);
    float alpha = 1.0f;
    for (int frame = 0; frame < 29; ++frame) alpha = StepStarAlpha(alpha, 0.4f, 20, 1000);
    EXPECT_NEAR(alpha, 0.42f, 1e-5f);
    alpha = StepStarAlpha(StepStarAlpha(alpha, 0.4f, 20, 1000), 0.4f, 20, 1000);
    EXPECT_EQ(alpha, 0.4f);                                 // the last step lands on the target
    EXPECT_EQ(StepStarAlpha(0.99f, 1.0f, 20, 1000), 1.0f);  // and does not overshoot upwards
    EXPECT_EQ(StepStarAlpha(0.4f, 0.4f, 20, 1000), 0.4f);
}

TEST(StepStarAlpha, ALongGapCountsAsAtMost200Ms) {
    EXPECT_FLOAT_EQ(StepStarAlpha(1.0f, 0.4f, 700, 1000), 0.8f);
    EXPECT_FLOAT_EQ(StepStarAlpha(1.0f, 0.4f, 200, 1000), 0.8f);
    EXPECT_FLOAT_EQ(StepStarAlpha(1.0f, 0.4f, 0xFFFFFFF0u, 1000), 0.8f);  // a clock that went back
    EXPECT_FLOAT_EQ(StepStarAlpha(1.0f, 0.4f, 199, 1000), 0.801f);
}

TEST(StepStarAlpha, ASpeedOfZeroJumpsToTheTarget) {
    EXPECT_EQ(StepStarAlpha(1.0f, 0.4f, 20, 0), 0.4f);
    EXPECT_EQ(StepStarAlpha(0.4f, 1.0f, 0, 0), 1.0f);
}

TEST(FadeColours, DrawsEachChannelTowardsGreyAndLeavesAlpha) {
    CRGBA colours[3] = {{144, 98, 16, 255}, {255, 0, 110, 7}, {10, 200, 111, 0}};
    FadeColours(colours, 3, 0.4f);
    // (c - 110) * 0.4 + 110, cut toward zero.
    EXPECT_EQ(colours[0].r, 123);  // 123.6
    EXPECT_EQ(colours[0].g, 105);  // 105.2
    EXPECT_EQ(colours[0].b, 72);   // 72.4
    EXPECT_EQ(colours[0].a, 255);
    EXPECT_EQ(colours[1].r, 168);  // 168.0
    EXPECT_EQ(colours[1].g, 66);   // 66.0
    EXPECT_EQ(colours[1].b, 110);
    EXPECT_EQ(colours[1].a, 7);
    EXPECT_EQ(colours[2].r, 70);
    EXPECT_EQ(colours[2].g, 146);
    EXPECT_EQ(colours[2].b, 110);  // 110.4
}

TEST(FadeColours, FullAlphaKeepsTheColoursAndZeroGivesGrey) {
    CRGBA colour[1] = {{144, 98, 16, 200}};
    FadeColours(colour, 1, 1.0f);
    EXPECT_EQ(colour[0].r, 144);
    EXPECT_EQ(colour[0].g, 98);
    EXPECT_EQ(colour[0].b, 16);
    FadeColours(colour, 1, 0.0f);
    EXPECT_EQ(colour[0].r, 110);
    EXPECT_EQ(colour[0].g, 110);
    EXPECT_EQ(colour[0].b, 110);
}

TEST(FadedFontAlpha, FallsFrom255To102) {
    EXPECT_FLOAT_EQ(FadedFontAlpha(1.0f), 255.0f);
    EXPECT_FLOAT_EQ(FadedFontAlpha(0.4f), 163.2f);
    EXPECT_FLOAT_EQ(FadedFontAlpha(0.0f), 102.0f);
}

}  // namespace
