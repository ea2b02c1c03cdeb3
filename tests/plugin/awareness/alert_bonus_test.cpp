// The alert bonus of a searching cop who aims: it widens his sight for the whole aim, also when the
// aim runs across the clock wrap.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/plugin_run.h"

namespace {

// A lost cop 30 m from the standing player sees 10 m, or 50 m while alert. His aim scan starts at
// 4250 ms of run time and lasts a few seconds.
std::string AimingCop(std::uint64_t clockStartMs, int alertRangeBonus) {
    return R"({ "name": "alert", "seed": 1, "frameMs": 50, "durationMs": 5000, "clockStartMs": )" +
           std::to_string(clockStartMs) + R"(,
      "settings": { "SightRange": 10, "SightAngle": 360, "AlertRangeBonus": )" +
           std::to_string(alertRangeBonus) + R"(, "CloseRange": 0,
                    "AimMinMs": 1000, "AimMaxMs": 1000, "LookChance": 0, "StandOffDist": 25 },
      "host": { "pursuit": false },
      "player": { "pos": [0, 0, 0], "wanted": 1 },
      "peds": [ { "id": "cop", "type": 6, "pos": [0, -30, 0], "heading": 180,
                  "weapons": [ { "type": 22, "ammo": 50 } ] } ] })";
}

TEST(AlertBonus, AimingCopSeesFartherEvenWhenTheAimEndsPastTheWrap) {
    constexpr std::uint64_t kWrap = 1ull << 32;
    for (const std::uint64_t start :
         {kWrap / 2, kWrap - 5300}) {  // far from the wrap; wrapping 1 s into the aim
        const auto run = testing_support::RunJson(AimingCop(start, 40));
        EXPECT_EQ(run.FirstAt("aim scan: ped=*"), 4250) << start;
        EXPECT_EQ(run.FirstAt("cop is chasing again: ped=*"), 4400) << start;
    }
    // Without the bonus the aim alone finds nobody.
    EXPECT_FALSE(testing_support::RunJson(AimingCop(kWrap - 5300, 0)).Logged("cop is chasing again: ped=*"));
}

}  // namespace
