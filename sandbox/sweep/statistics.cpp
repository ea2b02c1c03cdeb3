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

Interval WilsonInterval(std::size_t successes, std::size_t n) {
    if (n == 0) return {0.0, 1.0};
    constexpr double z = 1.959963984540054;  // the normal distribution's 97.5% point
    const double count = static_cast<double>(n);
    const double share = static_cast<double>(successes) / count;
    const double centre = share + z * z / (2.0 * count);
    const double spread = z * std::sqrt(share * (1.0 - share) / count + z * z / (4.0 * count * count));
    const double scale = 1.0 + z * z / count;
    return {std::max(0.0, (centre - spread) / scale), std::min(1.0, (centre + spread) / scale)};
}

double FisherExactP(std::size_t k1, std::size_t n1, std::size_t k2, std::size_t n2) {
    // The hypergeometric law of the first sample's successes, given both margins, in logarithms so
    // that hundreds of runs do not overflow.
    const auto logChoose = [](double n, double k) {
        return std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0);
    };
    const double total = static_cast<double>(n1 + n2);
    const double successes = static_cast<double>(k1 + k2);
    const auto logP = [&](double k) {
        return logChoose(static_cast<double>(n1), k) + logChoose(static_cast<double>(n2), successes - k) -
               logChoose(total, successes);
    };
    const double seen = logP(static_cast<double>(k1));
    const std::size_t low = k1 + k2 > n2 ? k1 + k2 - n2 : 0;
    const std::size_t high = std::min(n1, k1 + k2);
    double p = 0.0;
    for (std::size_t k = low; k <= high; ++k) {
        const double here = logP(static_cast<double>(k));
        // A relative margin, so that tables as likely as the one seen count whatever the rounding.
        if (here <= seen + 1e-7) p += std::exp(here);
    }
    return std::min(1.0, p);
}

}  // namespace sandbox
