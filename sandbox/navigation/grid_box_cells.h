#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/geometry.h"

namespace sandbox {

/// The boxes near each line of a regular grid and near each gap between two neighbouring lines, in x
/// and in y, for segments that run level between grid points: such a segment need only be tested
/// against the boxes entered in the cells its bounds cover, and in open ground against none.
class GridBoxCells {
public:
    /// `xs` and `ys` are the grid's lines, ascending. A box is entered where it comes within `margin`
    /// of a cell and of height `z`. `reach` is the most lines apart in x or in y that ClearAround
    /// answers for.
    GridBoxCells(const std::vector<float>& xs, const std::vector<float>& ys, float z, double margin,
                 const std::vector<SolidBox>& boxes, std::size_t reach);

    /// Whether no box is entered in any cell within `reach` lines of grid point (i, j): then every
    /// segment from it to a grid point at most that many lines away, in x and in y, is clear.
    bool ClearAround(std::size_t i, std::size_t j) const { return clearAround_[j * lines_ + i] != 0; }

    /// Geometry::SegmentClear's answer for the segment from a, standing on grid point (i0, j0), to b on
    /// (i1, j1), both at height z, where the margin covers the exact test's rounding at that length.
    bool SegmentClear(Vec3 a, Vec3 b, std::size_t i0, std::size_t j0, std::size_t i1, std::size_t j1);

    /// Geometry::InsideBox's answer for p standing on grid point (i, j) at height z.
    bool InsideBox(Vec3 p, std::size_t i, std::size_t j) const;

private:
    struct Span {
        std::ptrdiff_t first;  ///< the first cell, counting lines at even and gaps at odd indices
        std::ptrdiff_t last;   ///< the last; below `first` when there is none
    };
    /// The cells along `lines` that [lo, hi] covers, a gap's cell where part of it overlaps the gap.
    static Span Cover(const std::vector<float>& lines, double lo, double hi);

    const std::vector<SolidBox>* boxes_;
    std::size_t columns_;                   ///< cells across x: 2 * lines - 1
    std::vector<std::uint32_t> cellStart_;  ///< per cell, its first entry in entries_; one more at the end
    std::vector<std::uint32_t> entries_;    ///< box indices by cell, ascending within each
    std::vector<std::uint32_t> tested_;     ///< per box, the last segment that tested it
    std::uint32_t segment_ = 0;
    std::size_t lines_;                      ///< lines across x
    std::vector<std::uint8_t> clearAround_;  ///< per grid point, row by row: ClearAround's answer
};

}  // namespace sandbox
