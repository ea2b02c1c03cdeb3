// Where a run with other settings parts from the one played, told per cop.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "play/run_comparison.h"

namespace {

sandbox::RunOutcome Outcome(const std::vector<std::pair<std::uint32_t, std::string>>& lines) {
    sandbox::RunOutcome o;
    o.pedNames = {{"0x1", "cop1"}, {"0x2", "cop2"}, {"0x3", "cop3"}};
    for (const auto& [ms, text] : lines) o.record.log.push_back({ms, text});
    return o;
}

TEST(RunComparison, TellsEachCopWhoseLossMoved) {
    const auto played = Outcome({{1000, "wanted level started: level=2"},
                                 {19000, "cop lost the player: ped=0x2 inCar=0"},
                                 {8200, "cop lost the player: ped=0x3 inCar=0"}});
    const auto other = Outcome({{1000, "wanted level started: level=2"},
                                {5000, "cop lost the player: ped=0x1 inCar=0"},
                                {12400, "cop lost the player: ped=0x2 inCar=0"},
                                {30000, "cop lost the player: ped=0x3 inCar=0"}});
    const sandbox::RunComparison c = sandbox::CompareRuns(played, other, "SightRange=30", 20000);
    ASSERT_TRUE(c.partsAtMs);
    EXPECT_EQ(*c.partsAtMs, 5000u);
    const std::vector<std::string> expected = {
        "with SightRange=30 cop1 would have lost you at 5.0 s (he did not lose you)",
        "with SightRange=30 cop2 would have lost you at 12.4 s instead of 19.0 s",
        // His loss in the other run comes after the time played: within it he would not have lost you.
        "with SightRange=30 cop3 would not have lost you (he lost you at 8.2 s)",
    };
    EXPECT_EQ(c.cops, expected);
}

TEST(RunComparison, TheSameLogsDoNotPart) {
    const auto run =
        Outcome({{1000, "wanted level started: level=2"}, {3000, "cop lost the player: ped=0x1 inCar=0"}});
    const sandbox::RunComparison c = sandbox::CompareRuns(run, run, "SightRange=45", 5000);
    EXPECT_FALSE(c.partsAtMs);
    EXPECT_TRUE(c.cops.empty());
}

}  // namespace
