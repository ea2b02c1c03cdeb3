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
      columns_(xs.empty() ? 0 : 2 * xs.size() - 1),
      tested_(boxes.size(), 0),
      lines_(xs.size()),
      clearAround_(xs.size() * ys.size(), 1) {
    const std::size_t rows = ys.empty() ? 0 : 2 * ys.size() - 1;
    cellStart_.assign(columns_ * rows + 1, 0);
    std::vector<Span> spanX(boxes.size(), {0, -1});
    std::vector<Span> spanY(boxes.size(), {0, -1});
    for (std::size_t k = 0; k < boxes.size() && columns_ > 0 && rows > 0; ++k) {
        const SolidBox& box = boxes[k];
        if (!(box.min.z - margin <= z && box.max.z + margin >= z)) continue;
        spanX[k] = Cover(xs, box.min.x - margin, box.max.x + margin);
        spanY[k] = Cover(ys, box.min.y - margin, box.max.y + margin);
    }
    // Counted first, then filled, so that each cell's boxes sit together in ascending order.
    const auto forEachCell = [&](std::size_t k, auto&& use) {
        for (std::ptrdiff_t y = spanY[k].first; y <= spanY[k].last; ++y) {
            for (std::ptrdiff_t x = spanX[k].first; x <= spanX[k].last; ++x)
                use(static_cast<std::size_t>(y) * columns_ + static_cast<std::size_t>(x));
        }
    };
    // Each cell's count becomes its end, and filling from the last box down leaves it at its start.
    for (std::size_t k = 0; k < boxes.size(); ++k) forEachCell(k, [&](std::size_t c) { ++cellStart_[c]; });
    for (std::size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
    entries_.resize(cellStart_.back());
    for (std::size_t k = boxes.size(); k-- > 0;)
        forEachCell(k, [&](std::size_t c) { entries_[--cellStart_[c]] = static_cast<std::uint32_t>(k); });

    // A segment from point i to a point at most `reach` lines away covers cells 2i - 2 reach to
    // 2i + 2 reach at most, so a box entered in cells `first` to `last` can only matter to the points
    // from (first - 2 reach) / 2 to (last + 2 reach) / 2.
    const auto wide = static_cast<std::ptrdiff_t>(2 * reach);
    const auto points = [&](Span s, std::size_t count) {
        return Span{std::max<std::ptrdiff_t>(s.first - wide + 1, 0) / 2,
                    std::min<std::ptrdiff_t>((s.last + wide) / 2, static_cast<std::ptrdiff_t>(count) - 1)};
    };
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        if (spanX[k].last < spanX[k].first || spanY[k].last < spanY[k].first) continue;
        const Span px = points(spanX[k], xs.size());
        const Span py = points(spanY[k], ys.size());
        for (std::ptrdiff_t j = py.first; j <= py.last; ++j) {
            for (std::ptrdiff_t i = px.first; i <= px.last; ++i)
                clearAround_[static_cast<std::size_t>(j) * lines_ + static_cast<std::size_t>(i)] = 0;
        }
    }
}

bool GridBoxCells::SegmentClear(Vec3 a, Vec3 b, std::size_t i0, std::size_t j0, std::size_t i1,
                                std::size_t j1) {
    // The exact test can only hit a box that reaches the segment's bounds, give or take its rounding;
    // any such box is entered in a cell those bounds cover.
    ++segment_;
    // A row's cells lie together in entries_, so each row of the bounds is one run.
    const std::size_t x0 = 2 * std::min(i0, i1);
    const std::size_t x1 = 2 * std::max(i0, i1);
    for (std::size_t y = 2 * std::min(j0, j1); y <= 2 * std::max(j0, j1); ++y) {
        const std::size_t row = y * columns_;
        for (std::uint32_t e = cellStart_[row + x0]; e < cellStart_[row + x1 + 1]; ++e) {
            const std::uint32_t k = entries_[e];
            if (tested_[k] == segment_) continue;
            tested_[k] = segment_;
            const SolidBox& box = (*boxes_)[k];
            if (SegmentHitsBox(a, b, box.min, box.max)) return false;
        }
    }
    return true;
}

bool GridBoxCells::InsideBox(Vec3 p, std::size_t i, std::size_t j) const {
    // A box that holds the point reaches over its grid point, so it is entered in that point's cell.
    const std::size_t cell = 2 * j * columns_ + 2 * i;
    for (std::uint32_t e = cellStart_[cell]; e < cellStart_[cell + 1]; ++e) {
        if (PointInsideBox(p, (*boxes_)[entries_[e]])) return true;
    }
    return false;
}

}  // namespace sandbox
