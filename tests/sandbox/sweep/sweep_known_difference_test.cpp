// A small sweep whose answer is known in advance: a longer grace time makes the cop lose the player
// later by that much, on every seed.

#include <gtest/gtest.h>

#include "scenario/scenario_loader.h"
#include "support/plugin_run.h"
#include "sweep/sweep_html.h"
#include "sweep/sweep_results.h"

namespace {

// The player walks out of the cop's sight behind a wall; frame times vary with the seed.
constexpr const char* kScenario = R"({
  "name": "wall", "durationMs": 16000, "frameMs": [25, 45],
  "settings": { "FootSearch": 0 },
  "host": { "pursuit": false },
  "world": { "boxes": [ { "min": [-30, 10, 0], "max": [30, 20, 10] } ] },
  "player": { "pos": [0, 0, 0], "wanted": 2 },
  "peds": [ { "id": "cop1", "type": 6, "pos": [0, -20, 0], "heading": 0 } ],
  "events": [ { "at": 500, "do": "playerWarp", "to": [0, 40, 0] } ]
})";

TEST(SweepKnownDifferenceTest, ALongerGraceLosesThePlayerLaterOnEverySeed) {
    const sandbox::Scenario scenario = sandbox::ParseScenario(kScenario, "wall.json");
    const auto dir = testing_support::FreshTempDir("sweep");
    sandbox::SweepResults results;
    results.scenarios = {"wall"};
    results.variants = {"base", "PursuitGraceMs=1000", "PursuitGraceMs=4000"};
    const std::vector<std::string> graces = {"", "1000", "4000"};
    for (std::size_t v = 0; v < graces.size(); ++v) {
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            sandbox::SweepJob job;
            job.index = results.rows.size();
            job.seed = seed;
            job.gameDir = dir;
            if (!graces[v].empty()) job.overrides = {{"PursuitGraceMs", graces[v]}};
            results.rows.push_back({0, v, seed, sandbox::RunSweepJob(scenario, job, VIGILOR_MODULE_PATH)});
        }
    }
    for (std::uint32_t i = 0; i < 6; ++i) {
        const auto& shortGrace = results.rows[6 + i].result;
        const auto& longGrace = results.rows[12 + i].result;
        ASSERT_TRUE(shortGrace.ok && longGrace.ok) << shortGrace.error << longGrace.error;
        ASSERT_TRUE(shortGrace.metrics.firstLossMs && longGrace.metrics.firstLossMs);
        const double later =
            static_cast<double>(*longGrace.metrics.firstLossMs) - *shortGrace.metrics.firstLossMs;
        EXPECT_NEAR(later, 3000.0, 250.0) << "seed " << i + 1;
    }

    const std::vector<sandbox::MetricStats> stats = sandbox::ComputeSweepStats(results);
    const sandbox::MetricStats& firstLossLong = stats[2];  // metric 0, variant 2
    ASSERT_EQ(firstLossLong.variant, 2u);
    ASSERT_TRUE(firstLossLong.versusBase);
    // Against base (3000 ms) the 4000 ms grace loses later in every pair.
    EXPECT_DOUBLE_EQ(firstLossLong.versusBase->effect, 1.0);
    EXPECT_LT(firstLossLong.versusBase->p, 0.01);
    EXPECT_LT(stats[1].versusBase->effect, 0.01);

    const std::string csv = sandbox::SweepCsv(results);
    EXPECT_EQ(
        csv.substr(0, csv.find('\n'))
            .rfind("scenario,variant,seed,status,firstLossS,allLostS,seenS,chasedAgain,firstFadeS,escaped",
                   0),
        0u);
    EXPECT_NE(csv.find("\nwall,PursuitGraceMs=4000,6,ok,"), std::string::npos);
    const std::string html = sandbox::SweepReportHtml(results, stats);
    EXPECT_NE(html.find("data-metric=\"firstLossS\""), std::string::npos);
    EXPECT_EQ(html.find("http"), std::string::npos);  // nothing to fetch
}

TEST(SweepResultsTest, FailedRunsKeepTheirPlaceInTheCsvAndStayOutOfTheStatistics) {
    sandbox::SweepResults results;
    results.scenarios = {"s"};
    results.variants = {"base"};
    sandbox::SweepRunResult ok;
    ok.ok = true;
    ok.metrics.firstLossMs = 1500;
    sandbox::SweepRunResult failed;
    failed.error = "worker crashed (signal 11), \"badly\"";
    results.rows = {{0, 0, 1, ok}, {0, 0, 2, failed}};
    const std::string csv = sandbox::SweepCsv(results);
    EXPECT_NE(csv.find("\ns,base,1,ok,1.500,,0.000,0,,0,,,0,\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\ns,base,2,failed,,,,,,,,,,\"worker crashed (signal 11), \"\"badly\"\"\"\n"),
              std::string::npos)
        << csv;
    const auto stats = sandbox::ComputeSweepStats(results);
    EXPECT_EQ(stats[0].values.size(), 1u);
    EXPECT_DOUBLE_EQ(stats[0].median, 1.5);
    EXPECT_NE(sandbox::SweepReportHtml(results, stats).find("seed 2: worker crashed"), std::string::npos);
}

// Hand-made runs: escapes as counts with Fisher's test, a time as medians with its direction, and
// a metric that never varies called so instead of tested.
TEST(SweepVerdictTest, EachMetricIsJudgedInWordsByWhatItIs) {
    sandbox::SweepResults results;
    results.scenarios = {"s"};
    results.variants = {"base", "PursuitGraceMs=8000"};
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        for (std::size_t variant = 0; variant < 2; ++variant) {
            sandbox::SweepRunResult run;
            run.ok = true;
            run.metrics.escaped = variant == 0 ? seed <= 19 : seed <= 4;
            run.metrics.firstLossMs = (variant == 0 ? 3000 : 8000) + seed * 10;
            run.metrics.firstFadeMs = 2000;
            results.rows.push_back({0, variant, seed, run});
        }
    }
    const auto stats = sandbox::ComputeSweepStats(results);
    const auto verdict = [&](const std::string& metric) {
        for (const sandbox::MetricStats& st : stats) {
            if (st.variant == 1 && sandbox::SweepMetrics()[st.metric].name == metric) return st.verdict;
        }
        return std::string();
    };
    EXPECT_EQ(verdict("escaped"),
              "PursuitGraceMs=8000: the player escapes less often, 4 of 60 against 19 of 60 "
              "(p < 0.001)");
    EXPECT_EQ(verdict("firstLossS"),
              "PursuitGraceMs=8000: the first cop loses the player later, median 8.3 s "
              "against 3.3 s (p < 0.001)");
    EXPECT_EQ(verdict("firstFadeS"),
              "PursuitGraceMs=8000: firstFadeS the same, median 2 s against 2 s: no spread "
              "over seeds, this scenario has no randomness for this metric");
    const std::string text = sandbox::SweepStatsText(results, stats);
    EXPECT_NE(text.find("4 of 60, 7%"), std::string::npos) << text;
    EXPECT_NE(text.find("How to read this"), std::string::npos);
    const std::string html = sandbox::SweepReportHtml(results, stats);
    EXPECT_NE(html.find("<li class=\"verdict\" data-metric=\"escaped\">s, PursuitGraceMs=8000: the player "
                        "escapes less often"),
              std::string::npos);
    // Each dot is a run that can be run again alone, with the variant's settings.
    results.scenarioSources = {"my scenario.json"};
    results.variantSettings = {{}, {{"PursuitGraceMs", "8000"}}};
    EXPECT_EQ(sandbox::RerunCommand(results, results.rows[3]),
              "vigilor-sandbox run 'my scenario.json' --seed 2 --set PursuitGraceMs=8000");
    EXPECT_NE(sandbox::SweepReportHtml(results, stats)
                  .find("data-seed=\"2\"><title>seed 2, PursuitGraceMs=8000: 8.02\nvigilor-sandbox run "
                        "'my scenario.json' --seed 2"),
              std::string::npos);
}

}  // namespace
