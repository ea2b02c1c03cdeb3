#include "sweep/sweep_results.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>
#include <sstream>
#include <string>

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
        {"firstLossS", "s", "time until the first cop lost the player",
         "the first cop loses the player later", "the first cop loses the player sooner"},
        {"allLostS", "s", "time until every cop near the player had lost him",
         "every cop has lost the player later", "every cop has lost the player sooner"},
        {"seenS", "s", "total time during which at least one cop saw the player",
         "the police see the player for longer", "the police see the player for less time"},
        {"chasedAgain", "count", "times a cop who had lost the player chased him again",
         "cops chase the player again more often", "cops chase the player again less often"},
        {"firstFadeS", "s", "time until the wanted stars first faded", "the stars first fade later",
         "the stars first fade sooner"},
        {"escaped", "share",
         "1 when the host cleared the wanted level (escapedS); where the host never clears it, 1 when the "
         "episode (or the run) ended with every cop near him having lost him",
         "the player escapes more often", "the player escapes less often"},
        {"escapedS", "s", "time until the host cleared the wanted level", "the player escapes later",
         "the player escapes sooner"},
        {"arrestedS", "s", "time until the host's police arrested the player", "the player is arrested later",
         "the player is arrested sooner"},
        {"orders", "count", "orders the plugin gave, all kinds together", "the plugin gives more orders",
         "the plugin gives fewer orders"},
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
        case 6: return SecondsOr(m.escapedMs);
        case 7: return SecondsOr(m.arrestedMs);
        default: return TotalOrders(m);
    }
}

const char* const kHowToRead =
    "How to read this: each variant is compared with base, the scenario's own settings, over the same "
    "seeds. A yes-or-no metric (escaped) is a count of runs, \"12 of 20\", with a 95% interval of the "
    "share and Fisher's exact test; a time or a count shows its median, with a 95% interval of the "
    "median and the Mann-Whitney U test; \"never\" counts as the longest time. p is the chance of a "
    "difference at least this large if the setting changed nothing: below 0.05 the verdict calls it "
    "clear. A is the chance that a run of the variant gives a larger value than a run of base (0.5: no "
    "difference). Where every run gives the same value the seeds add nothing and no p is given.";

namespace {

std::string PText(double p) {
    if (p < 0.001) return "p < 0.001";
    char text[32];
    std::snprintf(text, sizeof text, "p = %.2g", p);
    return text;
}

std::string Amount(const MetricInfo& info, double value) {
    return StatText(value) + (std::string(info.unit) == "s" && std::isfinite(value) ? " s" : "");
}

std::string CountOf(const MetricStats& st) {
    return std::to_string(st.successes) + " of " + std::to_string(st.values.size());
}

// One line for people: which way the variant moves the metric against base, and how sure that is.
std::string Verdict(const std::string& variant, const MetricInfo& info, const MetricStats& base,
                    const MetricStats& st) {
    const std::string head = variant + ": ";
    if (st.values.empty() || base.values.empty()) return head + info.name + ": no completed runs to compare";
    const bool share = std::string(info.unit) == "share";
    const std::string figures =
        share ? CountOf(st) + " against " + CountOf(base)
              : "median " + Amount(info, st.median) + " against " + Amount(info, base.median);
    if (st.noSpread && base.noSpread) {
        return head + info.name + " " + (st.values[0] == base.values[0] ? "the same, " : "differs, ") +
               figures + ": no spread over seeds, this scenario has no randomness for this metric";
    }
    const double p = share ? *st.fisherP : st.versusBase->p;
    if (p >= 0.05) return head + info.name + ": no clear difference, " + figures + " (" + PText(p) + ")";
    const bool larger = share ? st.successes * base.values.size() > base.successes * st.values.size()
                              : st.versusBase->effect > 0.5;
    return head + (larger ? info.more : info.less) + ", " + figures + " (" + PText(p) + ")";
}

}  // namespace

std::vector<MetricStats> ComputeSweepStats(const SweepResults& results) {
    std::vector<MetricStats> all;
    for (std::size_t s = 0; s < results.scenarios.size(); ++s) {
        for (std::size_t m = 0; m < SweepMetrics().size(); ++m) {
            const std::size_t baseAt = all.size();
            for (std::size_t v = 0; v < results.variants.size(); ++v) {
                MetricStats st;
                st.scenario = s;
                st.metric = m;
                st.variant = v;
                double sum = 0.0;
                for (const SweepResults::Row& row : results.rows) {
                    if (row.scenario != s || row.variant != v || !row.result.ok) continue;
                    const double value = MetricValue(row.result.metrics, m);
                    st.values.push_back(value);
                    st.runs.push_back(&row);
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
                st.noSpread = !st.values.empty() && std::all_of(st.values.begin(), st.values.end(),
                                                                [&](double x) { return x == st.values[0]; });
                st.successes = static_cast<std::size_t>(std::count(st.values.begin(), st.values.end(), 1.0));
                st.shareCi = WilsonInterval(st.successes, st.values.size());
                if (v > 0) {
                    const MetricStats& base = all[baseAt];
                    st.versusBase = MannWhitneyU(base.values, st.values);
                    st.fisherP =
                        FisherExactP(st.successes, st.values.size(), base.successes, base.values.size());
                    st.verdict = Verdict(results.variants[v], SweepMetrics()[m], base, st);
                }
                all.push_back(std::move(st));
            }
        }
    }
    return all;
}

namespace {

// A word for a POSIX shell: quoted unless it is plainly safe.
std::string ShellWord(const std::string& word) {
    const bool plain = !word.empty() && word.find_first_not_of(
                                            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                            "0123456789-_./=,:+@") == std::string::npos;
    if (plain) return word;
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

std::string RerunCommand(const SweepResults& results, const SweepResults::Row& row) {
    const std::string scenario = row.scenario < results.scenarioSources.size()
                                     ? results.scenarioSources[row.scenario]
                                     : results.scenarios[row.scenario];
    std::string command =
        "vigilor-sandbox run " + ShellWord(scenario) + " --seed " + std::to_string(row.seed);
    if (row.variant < results.variantSettings.size()) {
        for (const auto& [key, value] : results.variantSettings[row.variant])
            command += " --set " + ShellWord(key + "=" + value);
    }
    return command;
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
    out << "scenario,variant,seed,status,firstLossS,allLostS,seenS,chasedAgain,firstFadeS,escaped,escapedS,"
           "arrestedS,orders";
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
                << (m.escaped ? 1 : 0) << ',' << CsvSeconds(m.escapedMs) << ',' << CsvSeconds(m.arrestedMs)
                << ',' << TotalOrders(m);
            for (std::uint16_t command : commands) {
                const auto it = m.orders.find(command);
                out << ',' << (it == m.orders.end() ? 0 : it->second);
            }
        } else {
            out << ",,,,,,,,,";
            for (std::size_t i = 0; i < commands.size(); ++i) out << ',';
        }
        out << ',' << CsvField(row.result.error) << '\n';
    }
    return out.str();
}

std::string SweepStatsText(const SweepResults& results, const std::vector<MetricStats>& stats) {
    std::ostringstream out;
    out << "\n" << kHowToRead << "\n";
    char line[256];
    std::vector<std::string> verdicts;
    const auto flush = [&] {
        for (const std::string& v : verdicts) out << "  => " << v << "\n";
        verdicts.clear();
    };
    for (const MetricStats& st : stats) {
        const MetricInfo& info = SweepMetrics()[st.metric];
        const bool share = std::string(info.unit) == "share";
        if (st.variant == 0) {
            flush();
            out << "\n"
                << results.scenarios[st.scenario] << ": " << info.name << " (" << info.meaning << ")\n";
            if (share) {
                std::snprintf(line, sizeof line, "  %-28s %4s %16s %19s %9s\n", "variant", "n", "yes",
                              "95% CI of share", "p vs base");
            } else {
                std::snprintf(line, sizeof line, "  %-28s %4s %6s %8s %17s %19s %9s %6s\n", "variant", "n",
                              "never", "median", "IQR", "95% CI of median", "p vs base", "A");
            }
            out << line;
        }
        const std::string variant = results.variants[st.variant].substr(0, 28);
        if (share) {
            char yes[48];
            std::snprintf(yes, sizeof yes, "%zu of %zu, %.0f%%", st.successes, st.values.size(),
                          st.values.empty() ? 0.0
                                            : 100.0 * static_cast<double>(st.successes) /
                                                  static_cast<double>(st.values.size()));
            char ci[48];
            std::snprintf(ci, sizeof ci, "%.0f%%..%.0f%%", 100.0 * st.shareCi.low, 100.0 * st.shareCi.high);
            std::snprintf(line, sizeof line, "  %-28s %4zu %16s %19s %9s\n", variant.c_str(),
                          st.values.size(), yes, ci, st.fisherP ? StatText(*st.fisherP).c_str() : "");
        } else {
            const std::string iqr = StatText(st.q1) + ".." + StatText(st.q3);
            const std::string ci = StatText(st.ci.low) + ".." + StatText(st.ci.high);
            std::snprintf(line, sizeof line, "  %-28s %4zu %6zu %8s %17s %19s %9s %6s\n", variant.c_str(),
                          st.values.size(), st.never, StatText(st.median).c_str(), iqr.c_str(), ci.c_str(),
                          st.versusBase ? StatText(st.versusBase->p).c_str() : "",
                          st.versusBase ? StatText(st.versusBase->effect).c_str() : "");
        }
        out << line;
        if (!st.verdict.empty()) verdicts.push_back(st.verdict);
    }
    flush();
    return out.str();
}

}  // namespace sandbox
