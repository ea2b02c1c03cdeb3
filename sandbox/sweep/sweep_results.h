#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sweep/statistics.h"
#include "sweep/sweep_job.h"
#include "sweep/sweep_plan.h"

namespace sandbox {

/// Every run of a sweep, with the names its indices refer to.
struct SweepResults {
    struct Row {
        std::size_t scenario = 0;
        std::size_t variant = 0;
        std::uint32_t seed = 0;
        SweepRunResult result;
    };
    std::vector<std::string> scenarios;
    std::vector<std::string> variants;  ///< variants[0] is base
    std::vector<Row> rows;
    /// For the command that reruns one run: each scenario as the sweep was given it (a built-in name
    /// or a file), and each variant's settings.
    std::vector<std::string> scenarioSources;
    std::vector<std::vector<std::pair<std::string, std::string>>> variantSettings;
    /// The runs the sweep (or this shard of it) set out to make: more than rows when it was stopped.
    std::size_t planned = 0;
    std::string share;           ///< "shard 2 of 4" when these are one shard's runs
    std::vector<VaryAxis> axes;  ///< the --vary options the variants came from
    /// Run index to its replay page, as a link relative to the report.
    std::map<std::size_t, std::string> replays;

    bool Stopped() const { return rows.size() < planned; }
};

/// The command line that reruns one run of the sweep on its own, e.g.
/// "vigilor-sandbox run demo --seed 7 --set PursuitGraceMs=1500".
std::string RerunCommand(const SweepResults& results, const SweepResults::Row& row);

/// The metrics a sweep compares, in report order: name as in results.csv, and what it measures.
struct MetricInfo {
    const char* name;
    const char* unit;  ///< "s", "count" or "share" (a yes or no per run: 1 or 0)
    const char* meaning;
    const char* more;  ///< what a larger value says, e.g. "the player escapes more often"
    const char* less;  ///< what a smaller value says
};
const std::vector<MetricInfo>& SweepMetrics();

/// A run's value of metric `m` (SweepMetrics order); +infinity for a time that never came.
double MetricValue(const RunMetrics& metrics, std::size_t m);

/// The statistics of one metric for one scenario and variant, over its completed runs.
struct MetricStats {
    std::size_t scenario = 0;
    std::size_t metric = 0;
    std::size_t variant = 0;
    std::vector<double> values;                  ///< one per completed run, +infinity for never
    std::vector<const SweepResults::Row*> runs;  ///< the run of each value
    std::size_t never = 0;
    double median = 0.0;
    double q1 = 0.0;
    double q3 = 0.0;
    double mean = 0.0;  ///< of the finite values
    Interval ci;
    std::optional<MannWhitney> versusBase;  ///< for every variant but base
    std::size_t successes = 0;              ///< share metrics: runs with 1
    Interval shareCi;                       ///< share metrics: Wilson 95% interval of the share
    std::optional<double> fisherP;          ///< share metrics, every variant but base: Fisher's exact test
    bool noSpread = false;                  ///< every run gave the same value
    std::string verdict;                    ///< every variant but base: one line for people
};

std::vector<MetricStats> ComputeSweepStats(const SweepResults& results);

/// results.csv: a header row and one row per run.
std::string SweepCsv(const SweepResults& results);

/// How to read the statistics, for the top of the terminal table and of the report.
extern const char* const kHowToRead;

/// The statistics as a plain-text table, one block per scenario and metric, each with its verdicts.
std::string SweepStatsText(const SweepResults& results, const std::vector<MetricStats>& stats);

/// A number for people: "never" for +infinity, "-" for NaN, else three significant decimals.
std::string StatText(double value);

}  // namespace sandbox
