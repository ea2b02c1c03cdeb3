#include "navigation/grid_box_cells.h"

#include <algorithm>

namespace sandbox {

GridBoxCells::Span GridBoxCells::Cover(const std::vector<float>& lines, double lo, double hi) {
    // Lines first to last lie in [lo, hi]; the gaps just outside them may hold its ends, and a range
    // with no line in it lies within the gap between last and first.
    const auto first =
        std::lower_bound(lines.begin(), lines.end(), lo, [](float line, double v) { return line < v; }) -
        lines.begin();
    const auto last =
        std::upper_bound(lines.begin(), lines.end(), hi, [](double v, float line) { return v < line; }) -
        lines.begin() - 1;
    const auto cells = static_cast<std::ptrdiff_t>(2 * lines.size()) - 1;
    return {std::max<std::ptrdiff_t>(2 * first - 1, 0), std::min<std::ptrdiff_t>(2 * last + 1, cells - 1)};
}

GridBoxCells::GridBoxCells(const std::vector<float>& xs, const std::vector<float>& ys, float z, double margin,
                           const std::vector<SolidBox>& boxes, std::size_t reach)
    : boxes_(&boxes),
      lines_(xs.size()),
      spanX_(boxes.size(), {0, -1}),
      spanY_(boxes.size(), {0, -1}),
      pointStart_(xs.size() * ys.size() + 1, 0) {
    if (xs.empty() || ys.empty()) return;
    // A segment from point i to a point at most `reach` lines away covers cells 2i - 2 reach to
    // 2i + 2 reach at most, so a box near cells `first` to `last` is near the points from
    // (first - 2 reach) / 2 to (last + 2 reach) / 2.
    const auto wide = static_cast<std::ptrdiff_t>(2 * reach);
    const auto points = [&](Span s, std::size_t count) {
        return Span{std::max<std::ptrdiff_t>(s.first - wide + 1, 0) / 2,
                    std::min<std::ptrdiff_t>((s.last + wide) / 2, static_cast<std::ptrdiff_t>(count) - 1)};
    };
    std::vector<Span> pointsX(boxes.size(), {0, -1});
    std::vector<Span> pointsY(boxes.size(), {0, -1});
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        const SolidBox& box = boxes[k];
        if (!(box.min.z - margin <= z && box.max.z + margin >= z)) continue;
        spanX_[k] = Cover(xs, box.min.x - margin, box.max.x + margin);
        spanY_[k] = Cover(ys, box.min.y - margin, box.max.y + margin);
        if (spanX_[k].last < spanX_[k].first || spanY_[k].last < spanY_[k].first) continue;
        pointsX[k] = points(spanX_[k], xs.size());
        pointsY[k] = points(spanY_[k], ys.size());
    }
    const auto forEachPoint = [&](std::size_t k, auto&& use) {
        for (std::ptrdiff_t j = pointsY[k].first; j <= pointsY[k].last; ++j) {
            for (std::ptrdiff_t i = pointsX[k].first; i <= pointsX[k].last; ++i)
                use(static_cast<std::size_t>(j) * lines_ + static_cast<std::size_t>(i));
        }
    };
    // Each point's count becomes its end, and filling from the last box down leaves it at its start.
    for (std::size_t k = 0; k < boxes.size(); ++k) forEachPoint(k, [&](std::size_t p) { ++pointStart_[p]; });
    for (std::size_t p = 1; p < pointStart_.size(); ++p) pointStart_[p] += pointStart_[p - 1];
    near_.resize(pointStart_.back());
    for (std::size_t k = boxes.size(); k-- > 0;)
        forEachPoint(k, [&](std::size_t p) { near_[--pointStart_[p]] = static_cast<std::uint32_t>(k); });
}

bool GridBoxCells::SegmentClear(Vec3 a, Vec3 b, std::size_t i0, std::size_t j0, std::size_t i1,
                                std::size_t j1) const {
    // The exact test can only hit a box that reaches the segment's bounds, give or take its rounding;
    // such a box comes near a cell those bounds cover, and so is near either end.
    const auto x0 = static_cast<std::ptrdiff_t>(2 * std::min(i0, i1));
    const auto x1 = static_cast<std::ptrdiff_t>(2 * std::max(i0, i1));
    const auto y0 = static_cast<std::ptrdiff_t>(2 * std::min(j0, j1));
    const auto y1 = static_cast<std::ptrdiff_t>(2 * std::max(j0, j1));
    const std::size_t point = j0 * lines_ + i0;
    for (std::uint32_t e = pointStart_[point]; e < pointStart_[point + 1]; ++e) {
        const std::uint32_t k = near_[e];
        if (spanX_[k].first > x1 || spanX_[k].last < x0 || spanY_[k].first > y1 || spanY_[k].last < y0)
            continue;
        const SolidBox& box = (*boxes_)[k];
        if (SegmentHitsBox(a, b, box.min, box.max)) return false;
    }
    return true;
}

bool GridBoxCells::InsideBox(Vec3 p, std::size_t i, std::size_t j) const {
    // A box that holds the point reaches over its grid point, so it comes near that point's own cell.
    const auto x = static_cast<std::ptrdiff_t>(2 * i);
    const auto y = static_cast<std::ptrdiff_t>(2 * j);
    const std::size_t point = j * lines_ + i;
    for (std::uint32_t e = pointStart_[point]; e < pointStart_[point + 1]; ++e) {
        const std::uint32_t k = near_[e];
        if (spanX_[k].first > x || spanX_[k].last < x || spanY_[k].first > y || spanY_[k].last < y) continue;
        if (PointInsideBox(p, (*boxes_)[k])) return true;
    }
    return false;
}

}  // namespace sandbox
