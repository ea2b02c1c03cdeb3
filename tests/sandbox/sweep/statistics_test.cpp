// The sweep's statistics against values worked out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sweep/statistics.h"

namespace {

using sandbox::MannWhitneyU;
using sandbox::Quantile;

constexpr double kNever = std::numeric_limits<double>::infinity();

TEST(QuantileTest, InterpolatesBetweenOrderStatisticsAndKeepsNeverLast) {
    EXPECT_DOUBLE_EQ(Quantile({4, 1, 3, 2}, 0.5), 2.5);
    EXPECT_DOUBLE_EQ(Quantile({1, 2, 3, 4, 5}, 0.25), 2.0);
    EXPECT_DOUBLE_EQ(Quantile({1, 2, 3, 4}, 0.75), 3.25);
    EXPECT_DOUBLE_EQ(Quantile({7}, 0.9), 7.0);
    EXPECT_TRUE(std::isnan(Quantile({}, 0.5)));
    EXPECT_DOUBLE_EQ(Quantile({1, kNever, 2}, 0.5), 2.0);
    EXPECT_TRUE(std::isinf(Quantile({1, kNever, kNever}, 0.5)));
    EXPECT_TRUE(std::isinf(Quantile({kNever, kNever}, 0.5)));
}

TEST(MannWhitneyTest, SeparatedSamplesGiveFullEffectAndASmallP) {
    const auto r = MannWhitneyU({1, 2, 3, 4, 5}, {6, 7, 8, 9, 10});
    EXPECT_DOUBLE_EQ(r.u, 25.0);
    EXPECT_DOUBLE_EQ(r.effect, 1.0);
    // z = (12.5 - 0.5) / sqrt(25 * 11 / 12)
    EXPECT_NEAR(r.p, 0.01219, 1e-4);
    const auto reversed = MannWhitneyU({6, 7, 8, 9, 10}, {1, 2, 3, 4, 5});
    EXPECT_DOUBLE_EQ(reversed.u, 0.0);
    EXPECT_NEAR(reversed.p, r.p, 1e-12);
}

TEST(MannWhitneyTest, TiesCountHalfAndIdenticalSamplesShowNoDifference) {
    const auto same = MannWhitneyU({3, 3, 3}, {3, 3, 3});
    EXPECT_DOUBLE_EQ(same.effect, 0.5);
    EXPECT_DOUBLE_EQ(same.p, 1.0);
    // Of the four pairs, b wins three and ties one, which counts half.
    const auto r = MannWhitneyU({1, 2}, {2, 3});
    EXPECT_DOUBLE_EQ(r.u, 3.5);
    EXPECT_DOUBLE_EQ(r.effect, 3.5 / 4.0);
    const auto overlap = MannWhitneyU({1, 2, 3, 4}, {1, 2, 3, 4});
    EXPECT_DOUBLE_EQ(overlap.effect, 0.5);
    EXPECT_GT(overlap.p, 0.9);
}

TEST(BootstrapTest, TheIntervalIsRepeatableAndHoldsTheMedian) {
    const std::vector<double> values = {3, 9, 4, 7, 5, 6, 8, 2, 1, 10};
    const auto a = sandbox::BootstrapMedianCi(values);
    const auto b = sandbox::BootstrapMedianCi(values);
    EXPECT_EQ(a.low, b.low);
    EXPECT_EQ(a.high, b.high);
    EXPECT_LT(a.low, 5.5);
    EXPECT_GT(a.high, 5.5);
    EXPECT_GE(a.low, 1.0);
    EXPECT_LE(a.high, 10.0);
    const auto constant = sandbox::BootstrapMedianCi({4, 4, 4});
    EXPECT_EQ(constant.low, 4.0);
    EXPECT_EQ(constant.high, 4.0);
}

TEST(ShareTest, WilsonIntervalsAndFishersTestMatchTheirTextbookValues) {
    const auto twelveOfTwenty = sandbox::WilsonInterval(12, 20);
    EXPECT_NEAR(twelveOfTwenty.low, 0.3866, 1e-4);
    EXPECT_NEAR(twelveOfTwenty.high, 0.7812, 1e-4);
    EXPECT_EQ(sandbox::WilsonInterval(0, 20).low, 0.0);
    EXPECT_NEAR(sandbox::WilsonInterval(0, 20).high, 0.1611, 1e-4);
    EXPECT_EQ(sandbox::WilsonInterval(20, 20).high, 1.0);
    // The tea-tasting table, and two sweeps' escapes.
    EXPECT_NEAR(sandbox::FisherExactP(3, 4, 1, 4), 0.4857, 1e-4);
    EXPECT_NEAR(sandbox::FisherExactP(4, 60, 19, 60), 0.000859, 1e-6);
    EXPECT_NEAR(sandbox::FisherExactP(19, 60, 4, 60), 0.000859, 1e-6);
    EXPECT_DOUBLE_EQ(sandbox::FisherExactP(0, 10, 0, 10), 1.0);
}

}  // namespace
