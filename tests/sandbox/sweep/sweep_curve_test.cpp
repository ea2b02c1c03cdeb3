// The report's curves: which variants make a line, and in what order its points come.

#include <gtest/gtest.h>

#include <regex>

#include "sweep/sweep_curve.h"
#include "sweep/sweep_plan.h"

namespace {

// Every run of a variant gives the same first loss, 1 s per thousand of grace.
sandbox::SweepResults GridResults(const std::vector<std::string>& varies,
                                  const std::vector<sandbox::VariantFile>& files = {}) {
    sandbox::SweepResults results;
    results.scenarios = {"s"};
    results.axes = sandbox::PlanAxes(varies);
    for (const sandbox::Variant& v : sandbox::PlanVariants(varies, files)) {
        results.variants.push_back(v.name);
        auto& settings = results.variantSettings.emplace_back();
        for (const auto& ov : v.overrides) settings.emplace_back(ov.key, ov.value);
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            sandbox::SweepRunResult r;
            r.ok = true;
            r.metrics.firstLossMs = v.overrides.empty() ? 3000 : std::stoul(v.overrides[0].value);
            results.rows.push_back({0, results.variants.size() - 1, seed, r});
        }
    }
    return results;
}

// The curves of the first metric, firstLossS.
std::string FirstLossCurves(const sandbox::SweepResults& results) {
    const std::vector<sandbox::MetricStats> stats = sandbox::ComputeSweepStats(results);
    std::vector<const sandbox::MetricStats*> rows;
    for (const auto& st : stats) {
        if (st.metric == 0) rows.push_back(&st);
    }
    return sandbox::CurvePlots(results, rows);
}

// "series name: value value ..." for each line of the curve against `key`.
std::vector<std::string> Lines(const sandbox::SweepResults& results, const std::string& key) {
    const std::string html = FirstLossCurves(results);
    const std::size_t at = html.find("data-key=\"" + key + "\"");
    if (at == std::string::npos) return {};
    const std::string svg = html.substr(at, html.find("</svg>", at) - at);
    std::vector<std::string> lines;
    const std::regex token("data-series=\"([^\"]*)\"|data-value=\"([^\"]*)\"");
    for (std::sregex_iterator it(svg.begin(), svg.end(), token), end; it != end; ++it) {
        if ((*it)[1].matched) {
            lines.push_back((*it)[1].str() + ":");
        } else {
            lines.back() += " " + (*it)[2].str();
        }
    }
    return lines;
}

TEST(SweepCurveTest, OneLinePerValueOfTheOtherKeysWithItsPointsInValueOrder) {
    const auto grid = GridResults({"PursuitGraceMs=6000,1500,3000", "SightRange=30,60"});
    EXPECT_EQ(Lines(grid, "PursuitGraceMs"),
              (std::vector<std::string>{"SightRange=30: 1500 3000 6000", "SightRange=60: 1500 3000 6000"}));
    EXPECT_EQ(Lines(grid, "SightRange"), std::vector<std::string>{});  // two values make no curve
    EXPECT_EQ(Lines(GridResults({"PursuitGraceMs=1500,3000"}), "PursuitGraceMs"), std::vector<std::string>{});
}

TEST(SweepCurveTest, AVariantFromAFileIsNoPointEvenWithTheSameKey) {
    const auto results =
        GridResults({"PursuitGraceMs=1500,3000,6000"}, {{"mine", "[Settings]\nPursuitGraceMs=4500\n"}});
    EXPECT_EQ(Lines(results, "PursuitGraceMs"), std::vector<std::string>{": 1500 3000 6000"});
}

TEST(SweepCurveTest, ALongerTimeIsDrawnHigher) {
    const std::string html = FirstLossCurves(GridResults({"PursuitGraceMs=1500,3000,6000"}));
    const std::regex circle("<circle cx=\"[0-9.]+\" cy=\"([0-9.]+)\"");
    std::vector<double> ys;
    for (std::sregex_iterator it(html.begin(), html.end(), circle), end; it != end; ++it)
        ys.push_back(std::stod((*it)[1].str()));
    ASSERT_EQ(ys.size(), 3u);
    EXPECT_GT(ys[0], ys[1]);
    EXPECT_GT(ys[1], ys[2]);
}

}  // namespace
