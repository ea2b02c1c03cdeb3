// Star fading with the module loaded into the sandbox host: the hook on the HUD's calls, the
// alpha over time, and what the HUD was given to draw.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "code/code_image.h"
#include "host/call_hook.h"
#include "hud/hud.h"
#include "plugin/awareness/awareness_scenario.h"
#include "support/module_session.h"
#include "support/plugin_run.h"
#include "world/world.h"

namespace {

using testing_support::RunJson;

// A wanted player whom no cop ever sees: the stars fade StarFadeDelayMs after the episode starts.
std::string Scenario(const std::string& settings, const std::string& world = "{}", int frameMs = 20,
                     int durationMs = 4000) {
    return R"({"name": "stars", "frameMs": )" + std::to_string(frameMs) + R"(, "durationMs": )" +
           std::to_string(durationMs) + R"(, "settings": {)" + settings + R"(}, "world": )" + world +
           R"(, "player": {"pos": [0, 0, 0], "wanted": 2}})";
}

struct Drawn {
    std::uint32_t runMs;
    float alpha;
    float fontAlpha;
    bool flashing;
};

std::vector<Drawn> RunDrawn(const std::string& json) {
    std::vector<Drawn> drawn;
    RunJson(json, [&](sandbox::RunOptions& options) {
        options.onFrame = [&](sandbox::World& world, std::uint32_t runMs,
                              const std::vector<sandbox::LoggedLine>&) {
            const sandbox::Hud& hud = world.Hud();
            drawn.push_back({runMs, hud.DrawnStarAlpha(), hud.drawnFontAlpha, hud.drawnFlashing});
        };
    });
    return drawn;
}

TEST(StarHook, RedirectsEveryCallInTheHudRangeOrSaysThatThereIsNone) {
    auto two = RunJson(Scenario(""));
    EXPECT_EQ(two.Lines()[1], "star hook: call to CHud::DrawWanted at 0x58FB00 redirected");
    EXPECT_EQ(two.Lines()[2], "star hook: call to CHud::DrawWanted at 0x58FB10 redirected");
    EXPECT_EQ(two.Count("star hook: *"), 2);

    auto none = RunJson(Scenario("", R"({"starCallSites": 0})"));
    EXPECT_EQ(
        none.Count("star hook: no call to CHud::DrawWanted found - stars will not fade (unsupported exe?)"),
        1);
    EXPECT_EQ(none.Count("star hook: *"), 1);

    auto off = RunJson(Scenario(R"("FadeStars": 0)"));
    EXPECT_EQ(off.Count("star hook: *"), 0);
}

TEST(StarHook, UnloadingPutsTheHostCallsBackSoTheHudStillDraws) {
    testing_support::ModuleSession session(
        "", R"({"durationMs": 1000, "player": {"pos": [0, 0, 0], "wanted": 2}})");
    session.Frame();
    sandbox::World& world = session.World();
    const auto& sites = world.Code().StarCallSites();
    ASSERT_EQ(sites.size(), 2u);
    for (auto site : sites) EXPECT_NE(plugin::ReadRelativeCall(site), sandbox::CodeImage::kDrawWanted);

    session.Unload();
    for (auto site : sites) EXPECT_EQ(plugin::ReadRelativeCall(site), sandbox::CodeImage::kDrawWanted);
    if (HasFailure()) return;  // drawing now would call into the unloaded module
    const int drawn = world.Hud().drawCount;
    session.MainLoop().RunFrame(33);
    EXPECT_EQ(world.Hud().drawCount, drawn + 2);
    EXPECT_EQ(world.Hud().drawnFontAlpha, 255.0f);
}

TEST(StarHook, WithoutAHookTheStarsStillFlashButNeverFade) {
    const auto drawn = RunDrawn(Scenario(R"("FlashStars": 1)", R"({"starCallSites": 0})"));
    EXPECT_FALSE(drawn.at(50).flashing);  // 1 s in
    EXPECT_TRUE(drawn.back().flashing);
    for (const Drawn& d : drawn) EXPECT_EQ(d.fontAlpha, 255.0f);
}

TEST(StarFading, FadesAtOnceAfterTheDelayWithSpeedZero) {
    const auto drawn = RunDrawn(Scenario(""));
    for (const Drawn& d : drawn) {
        // lastSeenAny is the episode's first frame, at 20 ms; faded once more than 2000 ms later.
        if (d.runMs <= 2020) {
            EXPECT_EQ(d.fontAlpha, 255.0f) << d.runMs;
        } else {
            EXPECT_NEAR(d.fontAlpha, 163.2f, 1e-3f) << d.runMs;
            EXPECT_NEAR(d.alpha, 0.4f, 1e-5f) << d.runMs;
        }
        EXPECT_FALSE(d.flashing);
    }
}

TEST(StarFading, Speed1000With20MsFramesMoves002AFrame) {
    const auto drawn = RunDrawn(Scenario(R"("StarFadeSpeedMs": 1000)"));
    std::size_t first = 0;
    while (drawn[first].runMs <= 2020) ++first;
    EXPECT_NEAR(drawn[first].alpha, 0.98f, 1e-4f);
    for (std::size_t i = first + 1; i < first + 30; ++i) {
        EXPECT_NEAR(drawn[i - 1].alpha - drawn[i].alpha, 0.02f, 1e-4f) << drawn[i].runMs;
    }
    EXPECT_NEAR(drawn[first + 29].alpha, 0.4f, 1e-4f);
    EXPECT_NEAR(drawn.back().alpha, 0.4f, 1e-5f);
}

TEST(StarFading, LongFramesMoveTheAlphaBy200MsWorth) {
    const auto drawn = RunDrawn(Scenario(R"("StarFadeSpeedMs": 1000)", "{}", 700, 6000));
    // Frames at 700, 1400, ...; faded from 2800 (more than 2000 after 700): 0.8, 0.6, 0.4, 0.4.
    std::vector<float> alphas;
    for (const Drawn& d : drawn) alphas.push_back(d.alpha);
    ASSERT_EQ(alphas.size(), 8u);
    const std::vector<float> expected = {1.0f, 1.0f, 1.0f, 0.8f, 0.6f, 0.4f, 0.4f, 0.4f};
    for (std::size_t i = 0; i < alphas.size(); ++i) EXPECT_NEAR(alphas[i], expected[i], 1e-4f) << i;
}

TEST(StarFading, AtThe099ThresholdTheStarsAreDrawnNormally) {
    EXPECT_EQ(RunDrawn(Scenario(R"("StarFadeAmount": 0.01)")).back().fontAlpha, 255.0f);
    EXPECT_LT(RunDrawn(Scenario(R"("StarFadeAmount": 0.015)")).back().fontAlpha, 255.0f);
    EXPECT_EQ(RunDrawn(Scenario(R"("StarFadeAmount": 0)")).back().fontAlpha, 255.0f);
}

TEST(StarFading, FlashesOnlyWhenFadedAndANegativeDelayNeverCounts) {
    const auto flashing = RunDrawn(Scenario(R"("FlashStars": 1, "StarFadeAmount": 0)"));
    EXPECT_FALSE(flashing.at(50).flashing);
    EXPECT_TRUE(flashing.back().flashing);
    EXPECT_EQ(flashing.back().fontAlpha, 255.0f);

    const auto never = RunDrawn(Scenario(R"("FlashStars": 1, "StarFadeDelayMs": -1)"));
    for (const Drawn& d : never) {
        EXPECT_FALSE(d.flashing);
        EXPECT_EQ(d.fontAlpha, 255.0f);
    }
}

TEST(StarFading, DrawsEveryColourFadedAndPutsTheTableBack) {
    auto colour = [](int i) {
        return CRGBA{static_cast<unsigned char>(i * 17), static_cast<unsigned char>(250 - i * 9),
                     static_cast<unsigned char>(100 + i), static_cast<unsigned char>(i)};
    };
    std::vector<CRGBA> drawn;
    bool restored = true;
    RunJson(Scenario(""), [&](sandbox::RunOptions& options) {
        options.onFrame = [&](sandbox::World& world, std::uint32_t runMs,
                              const std::vector<sandbox::LoggedLine>&) {
            if (runMs == 20) {
                for (int i = 0; i < kHudColourEntries; ++i) HudColour[i] = colour(i);
                return;
            }
            for (int i = 0; i < kHudColourEntries; ++i) {
                const CRGBA c = colour(i);
                restored = restored && HudColour[i].r == c.r && HudColour[i].g == c.g &&
                           HudColour[i].b == c.b && HudColour[i].a == c.a;
            }
            const auto& last = world.Hud().drawnColours;
            drawn.assign(last.begin(), last.end());
        };
    });
    EXPECT_TRUE(restored);
    ASSERT_EQ(drawn.size(), static_cast<std::size_t>(kHudColourEntries));
    for (int i = 0; i < kHudColourEntries; ++i) {
        const CRGBA c = colour(i);
        // At a = 0.4 (1 - 0.6 in float, a hair below 0.4).
        const float a = 1.0f - 0.6f;
        EXPECT_EQ(drawn[i].r, static_cast<unsigned char>((static_cast<float>(c.r) - 110.0f) * a + 110.0f))
            << i;
        EXPECT_EQ(drawn[i].g, static_cast<unsigned char>((static_cast<float>(c.g) - 110.0f) * a + 110.0f))
            << i;
        EXPECT_EQ(drawn[i].b, static_cast<unsigned char>((static_cast<float>(c.b) - 110.0f) * a + 110.0f))
            << i;
        EXPECT_EQ(drawn[i].a, c.a) << i;
    }
    EXPECT_EQ(drawn[0].r, 110 - 44);  // 0 drawn towards grey: (0 - 110) * 0.4 + 110 = 66
}

TEST(StarFading, EndingTheEpisodeDrawsNormalStarsAtOnce) {
    const std::string json = R"({"name": "end", "frameMs": 20, "durationMs": 4000,
        "player": {"pos": [0, 0, 0], "wanted": 2},
        "events": [{"at": 3000, "do": "wanted", "level": 0}, {"at": 3500, "do": "wanted", "level": 1}]})";
    for (const Drawn& d : RunDrawn(json)) {
        if (d.runMs > 2020 && d.runMs < 3000) {
            EXPECT_LT(d.fontAlpha, 255.0f) << d.runMs;
        } else if (d.runMs >= 3000) {
            EXPECT_EQ(d.fontAlpha, 255.0f) << d.runMs;  // and a new episode starts afresh
        }
    }
}

TEST(HostBuilds, OnBuildsWithoutTheHookedCallThePluginNeverRuns) {
    for (const char* build : {"1011", "1101", "1111", "3200", "3210", "4242"}) {
        SCOPED_TRACE(build);
        auto run = RunJson(Scenario(R"("FlashStars": 1)", std::string(R"({"codeBuild": )") + build + "}"));
        EXPECT_FALSE(std::filesystem::exists(run.gameDir / "vigilor.log"));
        EXPECT_EQ(run.outcome.record.log.size(), 0u);
        EXPECT_EQ(run.outcome.starFades.size(), 0u);
    }
    auto supported = RunJson(Scenario("", R"({"codeBuild": 1002})"));
    EXPECT_TRUE(supported.Logged("star hook: call to CHud::DrawWanted at 0x58FB00 redirected"));
}

// The stars fade StarFadeDelayMs after the last sighting also when the clock wraps in between.
TEST(StarFadingTest, StarsFadeAfterTheDelayAcrossTheWrap) {
    const auto fadedAfter = [](std::uint32_t start, std::uint32_t* seenAt) {
        awareness_test::Session s(awareness_test::ClockStart(start) + R"("peds": [ )" +
                                  awareness_test::Cop("cop", 0, -20) + " ]");
        EXPECT_TRUE(s.RunUntil("cops: total=1 seeing=1 *"));
        if (seenAt != nullptr) *seenAt = s.World().Now();
        s.World().Player()->SetPosition({0, 300, 0});
        s.TickAfter(2550);
        return s.World().Hud().DrawnStarAlpha() < 0.999f;
    };
    std::uint32_t seen = 0;
    EXPECT_TRUE(fadedAfter(awareness_test::kFarFromWrap, &seen));
    EXPECT_TRUE(fadedAfter(awareness_test::WrapAfter(seen), nullptr));
}

}  // namespace
