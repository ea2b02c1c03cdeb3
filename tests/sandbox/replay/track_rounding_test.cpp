// The track's rounding without the library call, and its shortcut for a row that repeats the last
// one, must write exactly what rounding every row with std::round would have written.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "replay/entity_track.h"
#include "replay/json_text.h"

namespace {

std::int64_t PlainHundredths(double value) {
    if (!std::isfinite(value)) return 0;
    const double scaled = std::round(value * 100.0);
    if (scaled > 1e15) return 1'000'000'000'000'000;
    if (scaled < -1e15) return -1'000'000'000'000'000;
    return static_cast<std::int64_t>(scaled);
}

std::int64_t PlainDegrees(double degrees) {
    if (!std::isfinite(degrees)) return 0;
    const double whole = std::round(degrees);
    if (std::fabs(whole) > 1e15) {
        const double d = std::fmod(whole, 360.0);
        return static_cast<std::int64_t>(d < 0 ? d + 360.0 : d);
    }
    const std::int64_t d = static_cast<std::int64_t>(whole) % 360;
    return d < 0 ? d + 360 : d;
}

TEST(TrackRoundingTest, NearestWholeAndHundredthsRoundAsTheLibraryDoes) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const double special[] = {0.0,
                              -0.0,
                              0.5,
                              -0.5,
                              0.49999999999999994,
                              -0.49999999999999994,
                              2.5,
                              -2.5,
                              1e15 - 0.5,
                              -1e15 + 0.5,
                              4503599627370495.5 / 100.0,
                              0.005,
                              -0.005,
                              0.015,
                              1e13,
                              1e13 + 0.005,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::max()};
    for (const double v : special) {
        EXPECT_EQ(sandbox::Hundredths(v), PlainHundredths(v)) << v;
        if (std::fabs(v) < sandbox::kLargestWhole) {
            EXPECT_EQ(sandbox::NearestWhole(v), static_cast<std::int64_t>(std::round(v))) << v;
        }
    }
    for (int i = 0; i < 200000; ++i) {
        // Every size up to the limit, with exact halves and their neighbours common.
        const double size = std::pow(10.0, static_cast<double>(random() % 17) - 2.0);
        double v = unit(random) * size;
        if (i % 3 == 0) v = std::trunc(v) + (v < 0 ? -0.5 : 0.5);
        if (i % 5 == 0) v = std::nextafter(v, i % 2 ? 0.0 : v * 2.0);
        EXPECT_EQ(sandbox::Hundredths(v), PlainHundredths(v)) << v;
        if (std::fabs(v) < sandbox::kLargestWhole) {
            ASSERT_EQ(sandbox::NearestWhole(v), static_cast<std::int64_t>(std::round(v))) << v;
        }
    }
}

TEST(TrackRoundingTest, MotionIsWhatRoundingEveryRowWouldWrite) {
    sandbox::EntityTrack track({});
    constexpr int kEntities = 4;
    for (int e = 0; e < kEntities; ++e) track.Enter(e, "{}");
    std::int64_t last[kEntities][3] = {};
    std::string expected;
    std::mt19937 random(5);
    // Few places and headings, so that rows often repeat, in bits or only in their rounding.
    const float places[] = {0.0f, -0.0f, 1.0f, 1.004f, 1.006f, -3.125f, 250.333f, 1e9f};
    const double headings[] = {0.0,    -0.0,  359.6,    0.4,   180.5,
                               -180.5, 720.2, 1e16 + 7, -1e17, std::numeric_limits<double>::quiet_NaN()};
    for (int sample = 0; sample < 3000; ++sample) {
        for (int e = 0; e < kEntities; ++e) {
            const sandbox::Vec3 pos{places[random() % 8], places[random() % 8], 0.0f};
            const double heading = headings[random() % 10];
            track.Row(e, pos, heading);
            const std::int64_t now[3] = {PlainHundredths(pos.x), PlainHundredths(pos.y),
                                         PlainDegrees(heading)};
            std::int64_t turn = now[2] - last[e][2];
            if (turn > 180) turn -= 360;
            if (turn < -180) turn += 360;
            if (!expected.empty()) expected += ',';
            expected += std::to_string(now[0] - last[e][0]) + ',' + std::to_string(now[1] - last[e][1]) +
                        ',' + std::to_string(turn);
            for (int c = 0; c < 3; ++c) last[e][c] = now[c];
        }
        track.EndSample(sample);
    }
    std::ostringstream out;
    out << '{';
    track.Write(out, "cops");
    out << '}';
    EXPECT_EQ(nlohmann::json::parse(out.str())["cops"]["motion"],
              nlohmann::json::parse("[" + expected + "]"));
}

}  // namespace
