#include "sweep/sweep_html.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "replay/json_text.h"
#include "sweep/svg_number.h"
#include "sweep/sweep_curve.h"

namespace sandbox {

namespace {

// The curves draw their numbers the same way.
std::string Num(double v) { return SvgNumber(v); }

constexpr double kLabelWidth = 190.0;
constexpr double kPlotWidth = 520.0;
constexpr double kRowHeight = 26.0;

// Box (quartiles), whiskers (finite extremes), median line and one dot per run; runs where the
// thing never happened are counted at the right instead of drawn.
std::string BoxPlot(const SweepResults& results, const std::vector<const MetricStats*>& rows) {
    double low = INFINITY;
    double high = -INFINITY;
    for (const MetricStats* st : rows) {
        for (double v : st->values) {
            if (std::isfinite(v)) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
    }
    if (!std::isfinite(low)) low = high = 0.0;
    if (high - low < 1e-9) high = low + 1.0;
    const auto x = [&](double v) {
        return kLabelWidth + (std::min(std::max(v, low), high) - low) / (high - low) * kPlotWidth;
    };
    const double height = kRowHeight * static_cast<double>(rows.size()) + 30.0;
    std::ostringstream svg;
    svg << "<svg class=\"plot\" role=\"img\" width=\"" << Num(kLabelWidth + kPlotWidth + 90) << "\" height=\""
        << Num(height) << "\" viewBox=\"0 0 " << Num(kLabelWidth + kPlotWidth + 90) << ' ' << Num(height)
        << "\">";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MetricStats& st = *rows[i];
        const double y = kRowHeight * static_cast<double>(i) + 15.0;
        std::vector<double> finite;
        for (double v : st.values) {
            if (std::isfinite(v)) finite.push_back(v);
        }
        svg << "<g class=\"box\" data-variant=\"" << HtmlEscape(results.variants[st.variant]) << "\">";
        svg << "<text x=\"4\" y=\"" << Num(y + 4) << "\">" << HtmlEscape(results.variants[st.variant])
            << "</text>";
        if (!finite.empty()) {
            const auto [mn, mx] = std::minmax_element(finite.begin(), finite.end());
            svg << "<line class=\"whisker\" x1=\"" << Num(x(*mn)) << "\" x2=\"" << Num(x(*mx)) << "\" y1=\""
                << Num(y) << "\" y2=\"" << Num(y) << "\"/>";
            svg << "<rect x=\"" << Num(x(st.q1)) << "\" y=\"" << Num(y - 8) << "\" width=\""
                << Num(std::max(1.0, x(st.q3) - x(st.q1))) << "\" height=\"16\"/>";
            svg << "<line class=\"median\" x1=\"" << Num(x(st.median)) << "\" x2=\"" << Num(x(st.median))
                << "\" y1=\"" << Num(y - 9) << "\" y2=\"" << Num(y + 9) << "\"/>";
            // Every dot is one run: hovering names it and the command that reruns it alone; a dot
            // whose run has a replay page opens it.
            for (std::size_t r = 0; r < st.values.size(); ++r) {
                if (!std::isfinite(st.values[r])) continue;
                const SweepResults::Row& run = *st.runs[r];
                const auto replay = results.replays.find(run.result.index);
                if (replay != results.replays.end())
                    svg << "<a href=\"" << HtmlEscape(replay->second) << "\">";
                svg << "<circle cx=\"" << Num(x(st.values[r])) << "\" cy=\"" << Num(y)
                    << "\" r=\"2.2\" data-seed=\"" << run.seed << "\"><title>seed " << run.seed << ", "
                    << HtmlEscape(results.variants[st.variant]) << ": " << StatText(st.values[r]) << "\n"
                    << HtmlEscape(RerunCommand(results, run))
                    << (replay != results.replays.end() ? "\nclick to open its replay" : "")
                    << "</title></circle>";
                if (replay != results.replays.end()) svg << "</a>";
            }
        }
        if (st.never > 0) {
            svg << "<text x=\"" << Num(kLabelWidth + kPlotWidth + 8) << "\" y=\"" << Num(y + 4) << "\">"
                << st.never << " never</text>";
        }
        svg << "</g>";
    }
    const double axisY = height - 10.0;
    svg << "<text x=\"" << Num(kLabelWidth) << "\" y=\"" << Num(axisY) << "\">" << StatText(low) << "</text>";
    svg << "<text x=\"" << Num(kLabelWidth + kPlotWidth) << "\" y=\"" << Num(axisY)
        << "\" text-anchor=\"end\">" << StatText(high) << "</text>";
    svg << "</svg>";
    return svg.str();
}

// A yes-or-no metric: the count and share of runs with "yes", its interval, and Fisher's test.
std::string ShareTable(const SweepResults& results, const std::vector<const MetricStats*>& rows) {
    std::ostringstream html;
    html << "<table class=\"share\"><tr><th>variant</th><th>runs</th><th>yes</th><th>share</th>"
            "<th>95% interval of the share</th><th>p (Fisher, vs base)</th></tr>";
    for (const MetricStats* st : rows) {
        const double share =
            st->values.empty() ? 0.0
                               : static_cast<double>(st->successes) / static_cast<double>(st->values.size());
        html << "<tr><td>" << HtmlEscape(results.variants[st->variant]) << "</td><td>" << st->values.size()
             << "</td><td>" << st->successes << " of " << st->values.size() << "</td><td>"
             << Num(100.0 * share) << "%</td><td>" << Num(100.0 * st->shareCi.low) << "% &ndash; "
             << Num(100.0 * st->shareCi.high) << "%</td>";
        if (st->fisherP) {
            html << "<td class=\"" << (*st->fisherP < 0.05 ? "clear" : "") << "\">" << StatText(*st->fisherP)
                 << "</td>";
        } else {
            html << "<td></td>";
        }
        html << "</tr>";
    }
    return html.str() + "</table>";
}

std::string StatsTable(const SweepResults& results, const std::vector<const MetricStats*>& rows) {
    std::ostringstream html;
    html << "<table><tr><th>variant</th><th>runs</th><th>never</th><th>median</th><th>IQR</th><th>mean</th>"
            "<th>95% CI of median</th><th>U vs base</th><th>p</th><th>A (P[variant &gt; base])</th></tr>";
    for (const MetricStats* st : rows) {
        html << "<tr><td>" << HtmlEscape(results.variants[st->variant]) << "</td><td>" << st->values.size()
             << "</td><td>" << st->never << "</td><td>" << StatText(st->median) << "</td><td>"
             << StatText(st->q1) << " &ndash; " << StatText(st->q3) << "</td><td>" << StatText(st->mean)
             << "</td><td>" << StatText(st->ci.low) << " &ndash; " << StatText(st->ci.high) << "</td>";
        if (st->versusBase) {
            const bool clear = st->versusBase->p < 0.05;
            html << "<td>" << StatText(st->versusBase->u) << "</td><td class=\"" << (clear ? "clear" : "")
                 << "\">" << StatText(st->versusBase->p) << "</td><td>" << StatText(st->versusBase->effect)
                 << "</td>";
        } else {
            html << "<td></td><td></td><td></td>";
        }
        html << "</tr>";
    }
    return html.str() + "</table>";
}

// What the page is not: a whole sweep, when it was stopped or is one shard of it.
std::string Provenance(const SweepResults& results) {
    std::string text;
    if (results.Stopped()) {
        text += "<p class=\"stopped\" id=\"stopped\"><b>" +
                HtmlEscape("Stopped after " + std::to_string(results.rows.size()) + " of " +
                           std::to_string(results.planned) + " runs") +
                "</b>: everything below counts the finished runs only. Run the same sweep command again "
                "with --resume to finish it.</p>";
    }
    if (!results.share.empty()) {
        text += "<p class=\"share-of-sweep\">These are the runs of " + HtmlEscape(results.share) +
                " of a sweep; join the shards with <code>vigilor-sandbox sweep merge</code>.</p>";
    }
    return text;
}

// The replay pages written with --replays, by scenario and variant.
std::string ReplayList(const SweepResults& results) {
    if (results.replays.empty()) return "";
    std::ostringstream html;
    html << "<section id=\"replays\"><h2>Replays</h2><ul>";
    const SweepResults::Row* group = nullptr;
    for (const SweepResults::Row& row : results.rows) {
        const auto replay = results.replays.find(row.result.index);
        if (replay == results.replays.end()) continue;
        if (group == nullptr || group->scenario != row.scenario || group->variant != row.variant) {
            html << (group != nullptr ? "</li>" : "") << "<li>" << HtmlEscape(results.scenarios[row.scenario])
                 << ", " << HtmlEscape(results.variants[row.variant]) << ":";
            group = &row;
        }
        html << " <a class=\"replay\" href=\"" << HtmlEscape(replay->second) << "\">seed " << row.seed
             << "</a>";
    }
    html << "</li></ul></section>";
    return html.str();
}

}  // namespace

std::string SweepReportHtml(const SweepResults& results, const std::vector<MetricStats>& stats) {
    std::size_t failed = 0;
    for (const SweepResults::Row& row : results.rows) failed += row.result.ok ? 0 : 1;
    std::ostringstream html;
    html
        << "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>Vigilor "
           "sweep</title><style>"
           "body{font:14px system-ui,sans-serif;margin:24px;color:#222}h2{margin-top:32px}"
           "table{border-collapse:collapse;margin:8px 0 4px}td,th{border:1px solid #ccc;padding:3px "
           "8px;text-align:right}"
           "td:first-child,th:first-child{text-align:left}.clear{font-weight:bold;color:#a40}"
           "svg.plot text{font:12px system-ui,sans-serif;fill:#333}svg.plot rect{fill:#cde;stroke:#357}"
           "svg.plot line{stroke:#357}svg.plot line.median{stroke:#c30;stroke-width:2}svg.plot "
           "circle{fill:#357;opacity:.5}"
           "svg.curve text{font:12px system-ui,sans-serif;fill:#333}svg.curve polyline{fill:none;stroke:#357}"
           "svg.curve line{stroke:#357}svg.curve circle{fill:#c30}.stopped{background:#fed;padding:6px}"
           "</style></head><body>";
    html << "<h1>Sweep report</h1>" << Provenance(results) << "<p>" << results.rows.size() << " runs, "
         << failed << " failed; " << results.variants.size()
         << " variants (the first, <b>base</b>, is each scenario's own settings). "
         << "Times in seconds.</p>";
    html << "<section id=\"verdicts\"><h2>Verdicts</h2><ul>";
    for (const MetricStats& st : stats) {
        if (!st.verdict.empty()) {
            html << "<li class=\"verdict\" data-metric=\"" << SweepMetrics()[st.metric].name << "\">"
                 << HtmlEscape(results.scenarios[st.scenario]) << ", " << HtmlEscape(st.verdict) << "</li>";
        }
    }
    html << "</ul><p class=\"how\">" << HtmlEscape(kHowToRead) << "</p></section>";
    if (failed > 0) {
        html << "<h2>Failed runs</h2><ul>";
        for (const SweepResults::Row& row : results.rows) {
            if (row.result.ok) continue;
            html << "<li>" << HtmlEscape(results.scenarios[row.scenario]) << ", "
                 << HtmlEscape(results.variants[row.variant]) << ", seed " << row.seed << ": "
                 << HtmlEscape(row.result.error) << "</li>";
        }
        html << "</ul>";
    }
    html << ReplayList(results);
    for (std::size_t i = 0; i < stats.size();) {
        std::vector<const MetricStats*> rows;
        const MetricStats& first = stats[i];
        while (i < stats.size() && stats[i].scenario == first.scenario && stats[i].metric == first.metric) {
            rows.push_back(&stats[i++]);
        }
        const MetricInfo& info = SweepMetrics()[first.metric];
        html << "<section class=\"metric\" data-metric=\"" << info.name << "\"><h2>"
             << HtmlEscape(results.scenarios[first.scenario]) << ": " << info.name << "</h2><p>"
             << info.meaning << " (" << info.unit << ")</p>";
        if (std::string(info.unit) == "share") {
            html << ShareTable(results, rows);
        } else {
            html << BoxPlot(results, rows) << StatsTable(results, rows);
        }
        html << CurvePlots(results, rows);
        html << "</section>";
    }
    html << "</body></html>\n";
    return html.str();
}

}  // namespace sandbox
