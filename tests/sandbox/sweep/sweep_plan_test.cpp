// Turning --vary, --variant and seed options into the sweep's variants and seeds.

#include <gtest/gtest.h>

#include "sweep/sweep_plan.h"

namespace {

using sandbox::PlanVariants;
using sandbox::SweepPlanError;

std::vector<std::string> Names(const std::vector<sandbox::Variant>& variants) {
    std::vector<std::string> names;
    for (const auto& v : variants) names.push_back(v.name);
    return names;
}

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const SweepPlanError& e) {
        return e.what();
    }
    return "no error";
}

TEST(SweepPlanTest, BaseComesFirstThenTheGridThenTheFiles) {
    const auto variants =
        PlanVariants({"sightrange=40,60", "FootSearch=0,1"}, {{"mine", "[Settings]\nHeliSearch=0\n"}});
    EXPECT_EQ(Names(variants),
              (std::vector<std::string>{"base", "SightRange=40,FootSearch=0", "SightRange=40,FootSearch=1",
                                        "SightRange=60,FootSearch=0", "SightRange=60,FootSearch=1", "mine"}));
    ASSERT_EQ(variants[3].overrides.size(), 2u);
    EXPECT_EQ(variants[3].overrides[0].value, "60");
    EXPECT_EQ(variants[3].overrides[1].value, "0");
    ASSERT_EQ(variants[5].overrides.size(), 1u);
    EXPECT_EQ(variants[5].overrides[0].key, "HeliSearch");
    EXPECT_TRUE(variants[0].overrides.empty());
}

TEST(SweepPlanTest, BadOptionsNameThePlaceAndWhatIsWrong) {
    EXPECT_EQ(ErrorOf([] { PlanVariants({"SightRang=40"}, {}); }),
              "--vary SightRang=40: unknown key \"SightRang\" (nearest known key: SightRange)");
    EXPECT_EQ(ErrorOf([] { PlanVariants({"SightRange=40,far"}, {}); }),
              "--vary SightRange=40,far: \"far\" is not a finite number for SightRange");
    EXPECT_EQ(ErrorOf([] { PlanVariants({"PursuitGraceMs=1.5"}, {}); }),
              "--vary PursuitGraceMs=1.5: \"1.5\" is not a whole number for PursuitGraceMs");
    EXPECT_EQ(ErrorOf([] { PlanVariants({"SightRange="}, {}); }),
              "--vary SightRange=: \"\" is not a finite number for SightRange");
    EXPECT_EQ(ErrorOf([] { PlanVariants({"SightRange=inf"}, {}); }),
              "--vary SightRange=inf: \"inf\" is not a finite number for SightRange");
    EXPECT_EQ(ErrorOf([] { PlanVariants({}, {{"base", ""}}); }), "variant \"base\" given twice");
}

TEST(SeedRangeTest, InclusiveRangesAndClearErrors) {
    EXPECT_EQ(sandbox::ParseSeedRange("5..7"), (std::vector<std::uint32_t>{5, 6, 7}));
    EXPECT_EQ(sandbox::ParseSeedRange("4294967295..4294967295"), (std::vector<std::uint32_t>{4294967295u}));
    EXPECT_EQ(ErrorOf([] { sandbox::ParseSeedRange("7..5"); }),
              "--seed-range 7..5: the range is empty (B is below A)");
    EXPECT_NE(ErrorOf([] { sandbox::ParseSeedRange("1-5"); }), "no error");
    EXPECT_NE(ErrorOf([] { sandbox::ParseSeedRange("1..x"); }), "no error");
    EXPECT_NE(ErrorOf([] { sandbox::ParseSeedRange("0..4294967296"); }), "no error");
}

}  // namespace
