#include "sweep/sweep_results.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <set>
#include <sstream>

namespace sandbox {

namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();

double SecondsOr(const std::optional<std::uint32_t>& ms) {
    return ms ? static_cast<double>(*ms) / 1000.0 : kNever;
}

std::string CsvSeconds(const std::optional<std::uint32_t>& ms) {
    if (!ms) return "";
    char text[24];
    std::snprintf(text, sizeof text, "%u.%03u", *ms / 1000, *ms % 1000);
    return text;
}

// Quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

int TotalOrders(const RunMetrics& m) {
    int total = 0;
    for (const auto& [command, count] : m.orders) total += count;
    return total;
}

}  // namespace

const std::vector<MetricInfo>& SweepMetrics() {
    static const std::vector<MetricInfo> metrics = {
        {"firstLossS", "s", "time until the first cop lost the player"},
        {"allLostS", "s", "time until every cop near the player had lost him"},
        {"seenS", "s", "total time during which at least one cop saw the player"},
        {"chasedAgain", "count", "times a cop who had lost the player chased him again"},
        {"firstFadeS", "s", "time until the wanted stars first faded"},
        {"escaped", "share", "1 when the episode (or the run) ended with every cop near him having lost him"},
        {"orders", "count", "orders the plugin gave, all kinds together"},
    };
    return metrics;
}

double MetricValue(const RunMetrics& m, std::size_t metric) {
    switch (metric) {
        case 0: return SecondsOr(m.firstLossMs);
        case 1: return SecondsOr(m.allLostMs);
        case 2: return static_cast<double>(m.seenMs) / 1000.0;
        case 3: return m.chasedAgain;
        case 4: return SecondsOr(m.firstFadeMs);
        case 5: return m.escaped ? 1.0 : 0.0;
        default: return TotalOrders(m);
    }
}

std::vector<MetricStats> ComputeSweepStats(const SweepResults& results) {
    std::vector<MetricStats> all;
    for (std::size_t s = 0; s < results.scenarios.size(); ++s) {
        for (std::size_t m = 0; m < SweepMetrics().size(); ++m) {
            const std::size_t baseAt = all.size();
            for (std::size_t v = 0; v < results.variants.size(); ++v) {
                MetricStats st{s, m, v, {}, 0, 0, 0, 0, 0, {}, std::nullopt};
                double sum = 0.0;
                for (const SweepResults::Row& row : results.rows) {
                    if (row.scenario != s || row.variant != v || !row.result.ok) continue;
                    const double value = MetricValue(row.result.metrics, m);
                    st.values.push_back(value);
                    if (std::isinf(value)) {
                        ++st.never;
                    } else {
                        sum += value;
                    }
                }
                const std::size_t finite = st.values.size() - st.never;
                st.mean = finite > 0 ? sum / static_cast<double>(finite) : std::nan("");
                st.median = Median(st.values);
                st.q1 = Quantile(st.values, 0.25);
                st.q3 = Quantile(st.values, 0.75);
                st.ci = BootstrapMedianCi(st.values);
                if (v > 0) st.versusBase = MannWhitneyU(all[baseAt].values, st.values);
                all.push_back(std::move(st));
            }
        }
    }
    return all;
}

std::string StatText(double value) {
    if (std::isnan(value)) return "-";
    if (std::isinf(value)) return "never";
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

std::string SweepCsv(const SweepResults& results) {
    std::set<std::uint16_t> commands;
    for (const SweepResults::Row& row : results.rows) {
        for (const auto& [command, count] : row.result.metrics.orders) commands.insert(command);
    }
    std::ostringstream out;
    out << "scenario,variant,seed,status,firstLossS,allLostS,seenS,chasedAgain,firstFadeS,escaped,orders";
    for (std::uint16_t command : commands) {
        char name[16];
        std::snprintf(name, sizeof name, ",orders%04X", command);
        out << name;
    }
    out << ",error\n";
    for (const SweepResults::Row& row : results.rows) {
        const RunMetrics& m = row.result.metrics;
        const bool ok = row.result.ok;
        out << CsvField(results.scenarios[row.scenario]) << ',' << CsvField(results.variants[row.variant])
            << ',' << row.seed << ',' << (ok ? "ok" : "failed");
        if (ok) {
            out << ',' << CsvSeconds(m.firstLossMs) << ',' << CsvSeconds(m.allLostMs) << ','
                << CsvSeconds(m.seenMs) << ',' << m.chasedAgain << ',' << CsvSeconds(m.firstFadeMs) << ','
                << (m.escaped ? 1 : 0) << ',' << TotalOrders(m);
            for (std::uint16_t command : commands) {
                const auto it = m.orders.find(command);
                out << ',' << (it == m.orders.end() ? 0 : it->second);
            }
        } else {
            out << ",,,,,,,";
            for (std::size_t i = 0; i < commands.size(); ++i) out << ',';
        }
        out << ',' << CsvField(row.result.error) << '\n';
    }
    return out.str();
}

std::string SweepStatsText(const SweepResults& results, const std::vector<MetricStats>& stats) {
    std::ostringstream out;
    char line[256];
    for (const MetricStats& st : stats) {
        if (st.variant == 0) {
            const MetricInfo& info = SweepMetrics()[st.metric];
            out << "\n"
                << results.scenarios[st.scenario] << ": " << info.name << " (" << info.meaning << ")\n";
            std::snprintf(line, sizeof line, "  %-28s %4s %6s %8s %17s %19s %9s %6s\n", "variant", "n",
                          "never", "median", "IQR", "95% CI of median", "p vs base", "A");
            out << line;
        }
        const std::string iqr = StatText(st.q1) + ".." + StatText(st.q3);
        const std::string ci = StatText(st.ci.low) + ".." + StatText(st.ci.high);
        std::string p = "";
        std::string a = "";
        if (st.versusBase) {
            p = StatText(st.versusBase->p);
            a = StatText(st.versusBase->effect);
        }
        std::snprintf(line, sizeof line, "  %-28s %4zu %6zu %8s %17s %19s %9s %6s\n",
                      results.variants[st.variant].substr(0, 28).c_str(), st.values.size(), st.never,
                      StatText(st.median).c_str(), iqr.c_str(), ci.c_str(), p.c_str(), a.c_str());
        out << line;
    }
    return out.str();
}

}  // namespace sandbox
