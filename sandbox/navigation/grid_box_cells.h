#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/geometry.h"

namespace sandbox {

/// The boxes near each point of a regular grid, for segments that run level between grid points at
/// most `reach` lines apart: such a segment need only be tested against the boxes near its first
/// point, and in open ground against none. A box counts as near where it comes close to a line, or to
/// a gap between two neighbouring lines, that such a segment from the point covers.
class GridBoxCells {
public:
    /// `xs` and `ys` are the grid's lines, ascending. A box counts where it comes within `margin` of a
    /// line or gap and of height `z`; `reach` is the most lines apart, in x and in y, that a segment's
    /// ends may be.
    GridBoxCells(const std::vector<float>& xs, const std::vector<float>& ys, float z, double margin,
                 const std::vector<SolidBox>& boxes, std::size_t reach);

    /// Geometry::SegmentClear's answer for the segment from a, standing on grid point (i0, j0), to b on
    /// (i1, j1), both at height z, where the margin covers the exact test's rounding at that length.
    bool SegmentClear(Vec3 a, Vec3 b, std::size_t i0, std::size_t j0, std::size_t i1, std::size_t j1) const;

    /// Geometry::InsideBox's answer for p standing on grid point (i, j) at height z.
    bool InsideBox(Vec3 p, std::size_t i, std::size_t j) const;

    /// Whether no box is near grid point (i, j): then every segment from it within reach is clear.
    bool ClearAround(std::size_t i, std::size_t j) const {
        const std::size_t point = j * lines_ + i;
        return pointStart_[point] == pointStart_[point + 1];
    }

private:
    /// Cells along one axis, counting lines at even and gaps at odd indices.
    struct Span {
        std::ptrdiff_t first;  ///< the first cell
        std::ptrdiff_t last;   ///< the last; below `first` when there is none
    };
    /// The cells along `lines` that [lo, hi] covers, a gap's cell where part of it overlaps the gap.
    static Span Cover(const std::vector<float>& lines, double lo, double hi);

    const std::vector<SolidBox>* boxes_;
    std::size_t lines_;        ///< lines across x
    std::vector<Span> spanX_;  ///< per box, the cells across x it comes near
    std::vector<Span> spanY_;  ///< and across y
    std::vector<std::uint32_t>
        pointStart_;                   ///< per grid point, row by row, its first entry in near_; one more
    std::vector<std::uint32_t> near_;  ///< box indices by grid point, ascending within each
};

}  // namespace sandbox
