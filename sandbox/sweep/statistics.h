#pragma once

#include <cstdint>
#include <vector>

namespace sandbox {

// Summary statistics for a sweep. Values may hold +infinity for "never happened": it sorts last, so
// medians and rank tests treat it as the longest time.

/// The q-quantile (0..1) by linear interpolation between order statistics; NaN for no values.
double Quantile(std::vector<double> values, double q);

inline double Median(const std::vector<double>& values) { return Quantile(values, 0.5); }

struct Interval {
    double low = 0.0;
    double high = 0.0;
};

/// The 95% percentile-bootstrap confidence interval of the median, from `resamples` resamplings drawn
/// with a fixed seed, so that the same values always give the same interval.
Interval BootstrapMedianCi(const std::vector<double>& values, int resamples = 2000, std::uint64_t seed = 1);

struct MannWhitney {
    double u = 0.0;       ///< U of the second sample: how often one of its values exceeds one of the first's
    double p = 1.0;       ///< two-sided p-value, normal approximation with tie correction
    double effect = 0.5;  ///< probability that a value of the second exceeds one of the first (ties half)
};

/// Mann–Whitney U test of b against a. With no variation at all p is 1.
MannWhitney MannWhitneyU(const std::vector<double>& a, const std::vector<double>& b);

/// The 95% Wilson score interval of a share: `successes` of `n` (0..1 each end; 0..1 for n = 0).
Interval WilsonInterval(std::size_t successes, std::size_t n);

/// Fisher's exact test of two shares, k1 of n1 against k2 of n2: the two-sided p-value, the sum of
/// the probabilities of every table with the same margins that is no likelier than the one seen.
double FisherExactP(std::size_t k1, std::size_t n1, std::size_t k2, std::size_t n2);

}  // namespace sandbox
