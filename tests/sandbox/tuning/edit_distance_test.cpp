// The edit distance behind "nearest known key": exact below its limit, at least the limit beyond it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tuning/edit_distance.h"
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
    // Past a machine word's 64 letters the comparison takes the slower table.
    const std::string longName(65, 'a');
    EXPECT_EQ(sandbox::EditDistance(longName, longName + "bc"), 2U);
    EXPECT_EQ(sandbox::EditDistance(longName, "B" + longName.substr(2) + "b"), 2U);
    // Every key fits the word-wide comparison the nearest-key search gives each of them.
    for (const sandbox::SettingKey& key : sandbox::SettingKeys()) {
        EXPECT_LE(std::string_view(key.name).size(), sandbox::NamePattern::kLongest) << key.name;
    }
    EXPECT_EQ(sandbox::NearestSettingKey("SightRang"), "SightRange");
    EXPECT_EQ(sandbox::NearestSettingKey("pursuitgracems"), "PursuitGraceMs");
}

// The word-wide comparison against the plain table, on names up to the 64 letters it takes, with
// both cases, repeated letters and bytes past ASCII.
TEST(EditDistanceTest, TheWordWideComparisonCountsAsTheTableDoes) {
    const auto table = [](const std::string& a, const std::string& b) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        std::vector<std::size_t> row(b.size() + 1);
        for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
        for (std::size_t i = 1; i <= a.size(); ++i) {
            std::size_t diagonal = row[0];
            row[0] = i;
            for (std::size_t j = 1; j <= b.size(); ++j) {
                const std::size_t replace = diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1);
                diagonal = row[j];
                row[j] = std::min({row[j] + 1, row[j - 1] + 1, replace});
            }
        }
        return row[b.size()];
    };
    const std::string letters = "aAbB\xE9\xC9z";
    std::uint32_t draw = 7;
    const auto name = [&](std::size_t longest) {
        draw = draw * 1103515245U + 12345U;
        std::string text((draw >> 8) % (longest + 1), ' ');
        for (char& c : text) {
            draw = draw * 1103515245U + 12345U;
            c = letters[(draw >> 8) % letters.size()];
        }
        return text;
    };
    for (int pair = 0; pair < 3000; ++pair) {
        const std::string a = name(pair % 3 == 0 ? 64 : 12);
        const std::string b = name(pair % 3 == 0 ? 80 : 12);
        const std::size_t distance = table(a, b);
        ASSERT_EQ(sandbox::EditDistance(a, b), distance) << a << " / " << b;
        const sandbox::NameLetters pa(a.substr(0, 64)), pb(b.substr(0, 64));
        if (b.size() <= 64) {
            ASSERT_LE(pa.LeastDistanceTo(pb), distance) << a << " / " << b;
            ASSERT_LE(std::min(pb.LeastDistanceTo(pa, distance + 1), distance + 1), distance)
                << a << " / " << b;
        }
        ASSERT_EQ(sandbox::EditDistance(a, b, distance + 1), distance) << a << " / " << b;
        if (distance > 0) {
            ASSERT_GE(sandbox::EditDistance(a, b, distance - 1), distance - 1) << a << " / " << b;
        }
    }
    EXPECT_EQ(sandbox::EditDistance(std::string(64, 'a'), std::string(64, 'b')), 64U);
}

// The nearest-key search skips keys on cheap floors; it must still find what comparing every key
// finds: the first key at the least distance.
TEST(EditDistanceTest, TheNearestKeyIsTheFirstAtTheLeastDistance) {
    const auto& keys = sandbox::SettingKeys();
    std::uint32_t draw = 99;
    for (int n = 0; n < 2000; ++n) {
        // A key cut, joined to another's tail, with a letter or digit put in, as typos come.
        draw = draw * 1103515245U + 12345U;
        const std::string a = keys[(draw >> 8) % keys.size()].name;
        draw = draw * 1103515245U + 12345U;
        const std::string b = keys[(draw >> 8) % keys.size()].name;
        draw = draw * 1103515245U + 12345U;
        std::string name =
            a.substr(0, (draw >> 8) % (a.size() + 1)) + b.substr((draw >> 16) % (b.size() + 1));
        draw = draw * 1103515245U + 12345U;
        name.insert((draw >> 8) % (name.size() + 1), 1, "x7Q"[(draw >> 4) % 3]);
        std::size_t best = 0;
        for (std::size_t i = 1; i < keys.size(); ++i) {
            if (sandbox::EditDistance(keys[i].name, name) < sandbox::EditDistance(keys[best].name, name))
                best = i;
        }
        ASSERT_EQ(sandbox::NearestSettingKey(name), keys[best].name) << name;
    }
}

}  // namespace
