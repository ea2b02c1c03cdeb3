#include "sweep/sweep_curve.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "replay/json_text.h"
#include "sweep/svg_number.h"

namespace sandbox {

namespace {

constexpr double kLeft = 60.0;
constexpr double kPlotWidth = 520.0;
constexpr double kTop = 12.0;
constexpr double kPlotHeight = 170.0;
constexpr double kRight = 200.0;  // room for the names of the lines
constexpr double kBottom = 40.0;

struct Point {
    double x = 0.0;
    std::string value;
    const MetricStats* st = nullptr;
    double y = 0.0;  // the median or the share
    Interval interval;
};

struct Series {
    std::string name;  // the other keys' values, empty with one key
    std::vector<Point> points;
};

std::string Percent(double share) { return std::to_string(std::lround(100.0 * share)) + "%"; }

bool IsShare(const MetricStats& st) { return std::string(SweepMetrics()[st.metric].unit) == "share"; }

Point PointOf(double x, const std::string& value, const MetricStats& st) {
    if (IsShare(st)) {
        return {x, value, &st, static_cast<double>(st.successes) / static_cast<double>(st.values.size()),
                st.shareCi};
    }
    return {x, value, &st, st.median, st.ci};
}

// The lines of a plot against key `axis`: each variant of the --vary grid is a point, on the line of
// the variants that agree with it on every other key.
std::vector<Series> SeriesAlong(const SweepResults& results, const std::vector<const MetricStats*>& rows,
                                std::size_t axis) {
    std::vector<Series> series;
    for (const MetricStats* st : rows) {
        const auto& settings = results.variantSettings[st->variant];
        if (settings.size() != results.axes.size() || st->values.empty()) continue;
        std::string gridName;
        std::string others;
        for (std::size_t i = 0; i < settings.size(); ++i) {
            const std::string pair = settings[i].first + "=" + settings[i].second;
            gridName += (i > 0 ? "," : "") + pair;
            if (i != axis) others += (others.empty() ? "" : ",") + pair;
        }
        // A variant from an INI file is not on the grid, even when it sets the same keys.
        if (gridName != results.variants[st->variant]) continue;
        auto line =
            std::find_if(series.begin(), series.end(), [&](const Series& s) { return s.name == others; });
        if (line == series.end()) line = series.insert(series.end(), Series{others, {}});
        const std::string& value = settings[axis].second;
        line->points.push_back(PointOf(std::strtod(value.c_str(), nullptr), value, *st));
    }
    for (Series& s : series) {
        std::sort(s.points.begin(), s.points.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    }
    return series;
}

struct Range {
    double low = INFINITY;
    double high = -INFINITY;
    void Take(double v) {
        if (!std::isfinite(v)) return;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    void Settle() {
        if (!std::isfinite(low)) low = high = 0.0;
        if (high - low < 1e-9) high = low + 1.0;
    }
    // Where v falls from 0 (low) to 1 (high); "never" at the top.
    double At(double v) const {
        return std::isfinite(v) ? (std::min(std::max(v, low), high) - low) / (high - low) : 1.0;
    }
};

std::string Describe(const MetricInfo& info, const std::string& key, const Point& p) {
    const MetricStats& st = *p.st;
    std::ostringstream text;
    text << key << "=" << p.value << ": ";
    if (std::string(info.unit) == "share") {
        text << st.successes << " of " << st.values.size() << " (" << SvgNumber(100.0 * p.y)
             << "%), 95% interval " << SvgNumber(100.0 * p.interval.low) << "% to "
             << SvgNumber(100.0 * p.interval.high) << "%";
    } else {
        text << "median " << StatText(p.y) << " (95% interval " << StatText(p.interval.low) << " to "
             << StatText(p.interval.high) << "), " << st.values.size() << " runs";
        if (st.never > 0) text << ", " << st.never << " never";
    }
    return text.str();
}

std::string Curve(const SweepResults& results, const std::vector<Series>& series, std::size_t axis) {
    const MetricInfo& info = SweepMetrics()[series.front().points.front().st->metric];
    const bool share = std::string(info.unit) == "share";
    Range xs;
    Range ys;
    if (share) {
        ys.Take(0.0);
        ys.Take(1.0);
    }
    for (const Series& s : series) {
        for (const Point& p : s.points) {
            xs.Take(p.x);
            ys.Take(p.y);
            ys.Take(p.interval.low);
            ys.Take(p.interval.high);
        }
    }
    xs.Settle();
    ys.Settle();
    const auto X = [&](double v) { return kLeft + xs.At(v) * kPlotWidth; };
    const auto Y = [&](double v) { return kTop + (1.0 - ys.At(v)) * kPlotHeight; };
    const std::string& key = results.axes[axis].key;
    const double width = kLeft + kPlotWidth + kRight;
    const double height = kTop + kPlotHeight + kBottom;
    std::ostringstream svg;
    svg << "<svg class=\"curve\" role=\"img\" data-key=\"" << HtmlEscape(key) << "\" width=\""
        << SvgNumber(width) << "\" height=\"" << SvgNumber(height) << "\" viewBox=\"0 0 " << SvgNumber(width)
        << ' ' << SvgNumber(height) << "\">";
    svg << "<line class=\"axis\" x1=\"" << SvgNumber(kLeft) << "\" x2=\"" << SvgNumber(kLeft + kPlotWidth)
        << "\" y1=\"" << SvgNumber(kTop + kPlotHeight) << "\" y2=\"" << SvgNumber(kTop + kPlotHeight)
        << "\"/>";
    svg << "<text x=\"" << SvgNumber(kLeft - 6) << "\" y=\"" << SvgNumber(kTop + 4)
        << "\" text-anchor=\"end\">" << (share ? Percent(ys.high) : StatText(ys.high)) << "</text>";
    svg << "<text x=\"" << SvgNumber(kLeft - 6) << "\" y=\"" << SvgNumber(kTop + kPlotHeight)
        << "\" text-anchor=\"end\">" << (share ? Percent(ys.low) : StatText(ys.low)) << "</text>";
    svg << "<text x=\"" << SvgNumber(kLeft + kPlotWidth / 2) << "\" y=\"" << SvgNumber(height - 4)
        << "\" text-anchor=\"middle\">" << HtmlEscape(key) << "</text>";
    for (const std::string& value : results.axes[axis].values) {
        svg << "<text x=\"" << SvgNumber(X(std::strtod(value.c_str(), nullptr))) << "\" y=\""
            << SvgNumber(kTop + kPlotHeight + 16) << "\" text-anchor=\"middle\">" << HtmlEscape(value)
            << "</text>";
    }
    for (const Series& s : series) {
        svg << "<g class=\"series\" data-series=\"" << HtmlEscape(s.name) << "\"><polyline points=\"";
        for (const Point& p : s.points) svg << SvgNumber(X(p.x)) << ',' << SvgNumber(Y(p.y)) << ' ';
        svg << "\"/>";
        for (const Point& p : s.points) {
            svg << "<g class=\"point\" data-value=\"" << HtmlEscape(p.value)
                << "\"><line class=\"interval\" x1=\"" << SvgNumber(X(p.x)) << "\" x2=\"" << SvgNumber(X(p.x))
                << "\" y1=\"" << SvgNumber(Y(p.interval.low)) << "\" y2=\"" << SvgNumber(Y(p.interval.high))
                << "\"/><circle cx=\"" << SvgNumber(X(p.x)) << "\" cy=\"" << SvgNumber(Y(p.y))
                << "\" r=\"3.5\"><title>" << HtmlEscape(Describe(info, key, p)) << "</title></circle></g>";
        }
        if (!s.name.empty()) {
            const Point& last = s.points.back();
            svg << "<text x=\"" << SvgNumber(X(last.x) + 8) << "\" y=\"" << SvgNumber(Y(last.y) + 4) << "\">"
                << HtmlEscape(s.name) << "</text>";
        }
        svg << "</g>";
    }
    svg << "</svg>";
    return svg.str();
}

}  // namespace

std::string CurvePlots(const SweepResults& results, const std::vector<const MetricStats*>& rows) {
    std::string plots;
    for (std::size_t axis = 0; axis < results.axes.size(); ++axis) {
        if (results.axes[axis].values.size() < 3) continue;
        const std::vector<Series> series = SeriesAlong(results, rows, axis);
        if (series.empty()) continue;
        plots += "<p class=\"curve-title\">Against " + HtmlEscape(results.axes[axis].key) + ":</p>" +
                 Curve(results, series, axis);
    }
    return plots;
}

}  // namespace sandbox
