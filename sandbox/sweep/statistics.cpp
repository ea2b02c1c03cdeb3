#include "sweep/statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace sandbox {

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    const double position = q * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    const double fraction = position - static_cast<double>(below);
    // Interpolating towards "never" gives never; between equal values, that value.
    if (fraction == 0.0 || values[below] == values[above]) return values[below];
    return values[below] + fraction * (values[above] - values[below]);
}

Interval BootstrapMedianCi(const std::vector<double>& values, int resamples, std::uint64_t seed) {
    if (values.empty())
        return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    // A plain modulo draw: the same interval from every standard library.
    std::mt19937_64 draw(seed);
    std::vector<double> medians;
    medians.reserve(static_cast<std::size_t>(resamples));
    std::vector<double> sample(values.size());
    for (int r = 0; r < resamples; ++r) {
        for (double& v : sample) v = values[draw() % values.size()];
        medians.push_back(Median(sample));
    }
    return {Quantile(medians, 0.025), Quantile(medians, 0.975)};
}

MannWhitney MannWhitneyU(const std::vector<double>& a, const std::vector<double>& b) {
    MannWhitney result;
    const double n1 = static_cast<double>(a.size());
    const double n2 = static_cast<double>(b.size());
    if (a.empty() || b.empty()) return result;

    // Mid-ranks of the pooled values; tie groups also feed the variance correction.
    struct Item {
        double value;
        bool second;
    };
    std::vector<Item> pooled;
    for (double v : a) pooled.push_back({v, false});
    for (double v : b) pooled.push_back({v, true});
    std::sort(pooled.begin(), pooled.end(), [](const Item& x, const Item& y) { return x.value < y.value; });
    double rankSumB = 0.0;
    double tieTerm = 0.0;
    for (std::size_t i = 0; i < pooled.size();) {
        std::size_t j = i;
        while (j < pooled.size() && pooled[j].value == pooled[i].value) ++j;
        const double midRank = (static_cast<double>(i + 1) + static_cast<double>(j)) / 2.0;
        const double t = static_cast<double>(j - i);
        tieTerm += t * t * t - t;
        for (std::size_t k = i; k < j; ++k) {
            if (pooled[k].second) rankSumB += midRank;
        }
        i = j;
    }
    result.u = rankSumB - n2 * (n2 + 1.0) / 2.0;
    result.effect = result.u / (n1 * n2);

    const double n = n1 + n2;
    const double variance = n1 * n2 / 12.0 * ((n + 1.0) - tieTerm / (n * (n - 1.0)));
    if (variance <= 0.0) return result;
    // Continuity correction towards the mean.
    const double deviation = std::max(0.0, std::fabs(result.u - n1 * n2 / 2.0) - 0.5);
    const double z = deviation / std::sqrt(variance);
    result.p = std::min(1.0, std::erfc(z / std::sqrt(2.0)));
    return result;
}

}  // namespace sandbox
