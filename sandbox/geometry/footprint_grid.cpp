#include "geometry/footprint_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sandbox {

FootprintGrid::FootprintGrid(const std::vector<Bounds>& boxes, int cellsAcross) {
    // The extent of the finite plan coordinates; boxes reaching to infinity go into the border cells.
    constexpr float kInf = std::numeric_limits<float>::infinity();
    float lo[2] = {kInf, kInf};
    float hi[2] = {-kInf, -kInf};
    const auto take = [&](int axis, float v) {
        if (!std::isfinite(v)) return;
        lo[axis] = std::min(lo[axis], v);
        hi[axis] = std::max(hi[axis], v);
    };
    for (const Bounds& b : boxes) {
        take(0, b.min.x);
        take(0, b.max.x);
        take(1, b.min.y);
        take(1, b.max.y);
    }
    const float wide = std::max(hi[0] - lo[0], hi[1] - lo[1]);
    if (std::isfinite(wide) && wide > 0.0f) {
        const float scale = static_cast<float>(cellsAcross) / wide;
        if (std::isfinite(scale) && scale > 0.0f) {
            originX_ = lo[0];
            originY_ = lo[1];
            scale_ = scale;
            cell_ = 1.0 / scale;
            const auto across = [&](float extent) {
                return std::clamp(static_cast<int>(std::ceil(extent * scale)), 1, cellsAcross);
            };
            columns_ = across(hi[0] - lo[0]);
            rows_ = across(hi[1] - lo[1]);
        }
    }

    // Count, then fill: each box in the cells from its low corner's to its high corner's.
    const std::size_t cells = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
    std::vector<std::uint32_t> count(cells + 1, 0);
    const auto forCells = [&](const Bounds& b, auto&& each) {
        for (int r = Row(b.min.y); r <= Row(b.max.y); ++r) {
            for (int c = Column(b.min.x); c <= Column(b.max.x); ++c)
                each(static_cast<std::size_t>(r) * columns_ + c);
        }
    };
    for (const Bounds& b : boxes) forCells(b, [&](std::size_t cell) { ++count[cell + 1]; });
    for (std::size_t cell = 0; cell < cells; ++cell) count[cell + 1] += count[cell];
    start_ = count;
    entries_.resize(start_[cells]);
    for (std::uint32_t i = 0; i < boxes.size(); ++i) {
        forCells(boxes[i], [&](std::size_t cell) { entries_[count[cell]++] = i; });
    }
}

FootprintGrid::Shadow FootprintGrid::ShadowOf(Vec3 a, Vec3 b, double margin) {
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    return {a.x,
            a.y,
            dy == 0.0 ? 0.0 : dx / dy,
            dy == 0.0,
            std::min<double>(a.x, b.x),
            std::max<double>(a.x, b.x),
            std::min<double>(a.y, b.y),
            std::max<double>(a.y, b.y),
            margin};
}

std::pair<int, int> FootprintGrid::ColumnsAlong(const Shadow& s, int row) const {
    // A box whose plan holds a point q is listed in q's row, and q lies within the margin of some
    // point p of the segment. Row() puts q in row r only when q.y is within the band of r, give or
    // take the rounding of one subtraction and one product: a thousandth of a cell covers that many
    // times over. So p.y lies in the band widened by the margin and that, and p.x between the x of
    // the segment at the ends of that stretch. The border rows reach out for ever.
    const double widen = 1e-3 * cell_ + s.margin;
    double lo = s.ylo;
    double hi = s.yhi;
    if (row > 0) lo = std::max(lo, originY_ + row * cell_ - widen);
    if (row < rows_ - 1) hi = std::min(hi, originY_ + (row + 1) * cell_ + widen);
    if (lo > hi) return {1, 0};
    double x0 = s.xlo;
    double x1 = s.xhi;
    if (!s.level) {
        const double xa = s.ax + (lo - s.ay) * s.slope;
        const double xb = s.ax + (hi - s.ay) * s.slope;
        x0 = std::max(x0, std::min(xa, xb));
        x1 = std::min(x1, std::max(xa, xb));
    }
    return {Column(ClampToFloat(x0 - s.margin)), Column(ClampToFloat(x1 + s.margin))};
}

}  // namespace sandbox
