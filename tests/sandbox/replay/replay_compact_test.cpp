// The compact form the replay page carries: tables of rows, rounded numbers, nothing lost that the
// viewer reads.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "replay/replay_compact.h"

namespace {

using nlohmann::json;
using sandbox::CompactReplay;

TEST(ReplayCompactTest, ListsOfObjectsBecomeTablesWithNullForMissingKeys) {
    const json data = {{"cops", {{{"id", "a"}, {"pos", {1.0, 2.0, 0.0}}},
                                 {{"id", "b"}, {"step", 2}}}}};
    const json out = CompactReplay(data);
    const json& table = out["cops"];
    ASSERT_TRUE(table.contains("$cols"));
    const json cols = table["$cols"];
    const json rows = table["$rows"];
    ASSERT_EQ(rows.size(), 2u);
    for (std::size_t k = 0; k < cols.size(); ++k) {
        const std::string key = cols[k];
        EXPECT_EQ(rows[0][k], data["cops"][0].contains(key) ? data["cops"][0][key] : json(nullptr)) << key;
        EXPECT_EQ(rows[1][k], data["cops"][1].contains(key) ? data["cops"][1][key] : json(nullptr)) << key;
    }
    EXPECT_EQ(cols.size(), 3u);  // id, pos, step: the union of both rows' keys
}

TEST(ReplayCompactTest, TablesNestInsideRowsAndOtherArraysStayArrays) {
    const json sample = {{"t", 150}, {"cops", {{{"id", "a"}}, {{"id", "b"}}}}};
    const json data = {{"samples", {sample, sample}}, {"single", {{{"id", "only"}}}}, {"nodes", {{1, 2}, {3, 4}}}};
    const json out = CompactReplay(data);
    const json& samples = out["samples"];
    const auto copsAt = std::find(samples["$cols"].begin(), samples["$cols"].end(), "cops") - samples["$cols"].begin();
    EXPECT_TRUE(samples["$rows"][1][copsAt].contains("$rows"));
    EXPECT_EQ(out["single"], data["single"]);  // one object is not worth a table
    EXPECT_EQ(out["nodes"], data["nodes"]);
}

TEST(ReplayCompactTest, RoundsFractionsToHundredthsAndWritesWholeNumbersAsIntegers) {
    const json data = {{"pos", {12.345678f, -0.004, 100.0}}, {"alpha", 0.999}, {"t", 33},
                       {"nan", std::numeric_limits<double>::quiet_NaN()}};
    const json out = CompactReplay(data);
    EXPECT_DOUBLE_EQ(out["pos"][0].get<double>(), 12.35);
    EXPECT_EQ(out["pos"][1].dump(), "0");
    EXPECT_EQ(out["pos"][2].dump(), "100");
    EXPECT_EQ(out["alpha"].dump(), "1");
    EXPECT_EQ(out["t"], 33);
    EXPECT_TRUE(std::isnan(out["nan"].get<double>()));
}

}  // namespace
