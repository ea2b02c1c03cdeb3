// The edit distance behind "nearest known key": exact below its limit, at least the limit beyond it.

#include <gtest/gtest.h>

#include "tuning/setting_keys.h"

namespace {

TEST(EditDistanceTest, ExactBelowTheLimitAndAtLeastTheLimitBeyondIt) {
    const struct {
        const char* a;
        const char* b;
        std::size_t distance;
    } cases[] = {{"SightRange", "sightrange", 0},
                 {"SightRange", "SightRang", 1},
                 {"PursuitGraceMs", "PursuitGrace", 2},
                 {"RadioRange", "SightRange", 5},
                 {"", "abc", 3},
                 {"Key12345", "LookChance", 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(sandbox::EditDistance(c.a, c.b), c.distance);
        EXPECT_EQ(sandbox::EditDistance(c.a, c.b, c.distance + 1), c.distance);
        if (c.distance > 0) {
            EXPECT_GE(sandbox::EditDistance(c.a, c.b, c.distance - 1), c.distance - 1);
        }
    }
    EXPECT_EQ(sandbox::NearestSettingKey("SightRang"), "SightRange");
    EXPECT_EQ(sandbox::NearestSettingKey("pursuitgracems"), "PursuitGraceMs");
}

}  // namespace
