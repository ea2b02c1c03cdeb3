#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "geometry/bounds.h"

namespace sandbox {

/// The boxes' ground plans (x and y) sorted into square cells, so that a point query ("what stands
/// over here") reads one short list, and a segment query the runs of cells under the segment.
///
/// A cell lists every box whose plan reaches into it, edges included, in index order. The cell of a
/// coordinate is a rounded product that never decreases as the coordinate grows, and a box is entered
/// in the cells of its own corners and all between, so a box whose plan holds a point is always in
/// that point's list. Points outside the grid fall into its border cells; a coordinate that is not a
/// number falls into the first one, where the caller's exact test turns every box down.
class FootprintGrid {
public:
    FootprintGrid() = default;
    /// `cellsAcross` cells span the wider side of the boxes' extent.
    FootprintGrid(const std::vector<Bounds>& boxes, int cellsAcross);

    /// The boxes that may stand over (x, y); the caller tests each itself.
    std::span<const std::uint32_t> Over(float x, float y) const { return Run(Row(y), Column(x), Column(x)); }

    /// Calls `visit(run)` with runs of box indices, one run per row of cells, until it returns true;
    /// true when some call did. Between them the runs hold every box whose plan has a point within
    /// `region`'s plan and well within `margin` metres (in x and in y) of the ground shadow of the
    /// segment a-b; a box may come in several runs. `region` is meant to be the segment's bounds
    /// widened by the margin. The coordinates of a and b must be finite.
    template <class Visit>
    bool AnyRunAlong(Vec3 a, Vec3 b, const Bounds& region, double margin, Visit&& visit) const;

private:
    /// A segment's ground shadow, in double so that the row bands and the x at their ends carry
    /// next to no rounding of their own.
    struct Shadow {
        double ax, ay;    ///< its start
        double slope;     ///< dx / dy; unused when level
        bool level;       ///< dy is 0: every row sees the whole x range
        double xlo, xhi;  ///< its x range
        double ylo, yhi;  ///< its y range
        double margin;    ///< metres added on every side
    };
    static Shadow ShadowOf(Vec3 a, Vec3 b, double margin);
    /// The columns of row `row` whose cells the widened shadow may reach; first > last for none.
    std::pair<int, int> ColumnsAlong(const Shadow& s, int row) const;

    std::span<const std::uint32_t> Run(int row, int firstColumn, int lastColumn) const {
        const std::size_t cells = static_cast<std::size_t>(row) * columns_;
        return {entries_.data() + start_[cells + firstColumn],
                entries_.data() + start_[cells + lastColumn + 1]};
    }
    int Column(float x) const { return Cell(x, originX_, columns_); }
    int Row(float y) const { return Cell(y, originY_, rows_); }
    int Cell(float v, float origin, int count) const {
        const float t = (v - origin) * scale_;
        if (!(t >= 0.0f)) return 0;
        if (t >= static_cast<float>(count)) return count - 1;
        return static_cast<int>(t);
    }

    float originX_ = 0.0f;
    float originY_ = 0.0f;
    float scale_ = 0.0f;  ///< cells per metre; 0 puts everything in one cell
    double cell_ = 0.0;   ///< metres per cell, when there is more than one
    int columns_ = 1;
    int rows_ = 1;
    std::vector<std::uint32_t> start_ = {0, 0};  ///< per cell, row by row, its first entry; then the end
    std::vector<std::uint32_t> entries_;
};

template <class Visit>
bool FootprintGrid::AnyRunAlong(Vec3 a, Vec3 b, const Bounds& region, double margin, Visit&& visit) const {
    const int firstRow = Row(region.min.y);
    const int lastRow = Row(region.max.y);
    // One row sees all of `region`.
    if (firstRow == lastRow) return visit(Run(firstRow, Column(region.min.x), Column(region.max.x)));
    const Shadow s = ShadowOf(a, b, margin);
    for (int row = firstRow; row <= lastRow; ++row) {
        const auto [first, last] = ColumnsAlong(s, row);
        if (first <= last && visit(Run(row, first, last))) return true;
    }
    return false;
}

}  // namespace sandbox
