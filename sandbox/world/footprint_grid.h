#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "world/box_tree.h"

namespace sandbox {

/// The boxes' ground plans (x and y) sorted into square cells, so that a point query ("what stands
/// over here") reads one short list instead of walking a tree.
///
/// A cell lists every box whose plan reaches into it, edges included, in index order. The cell of a
/// coordinate is a rounded product that never decreases as the coordinate grows, and a box is entered
/// in the cells of its own corners and all between, so a box whose plan holds a point is always in
/// that point's list. Points outside the grid fall into its border cells; a coordinate that is not a
/// number falls into the first one, where the caller's exact test turns every box down.
class FootprintGrid {
public:
    FootprintGrid() = default;
    explicit FootprintGrid(const std::vector<Bounds>& boxes);

    /// The boxes that may stand over (x, y); the caller tests each itself.
    std::span<const std::uint32_t> Over(float x, float y) const {
        const std::size_t cell = static_cast<std::size_t>(Row(y)) * columns_ + Column(x);
        return {entries_.data() + start_[cell], entries_.data() + start_[cell + 1]};
    }

private:
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
    int columns_ = 1;
    int rows_ = 1;
    std::vector<std::uint32_t> start_ = {0, 0};  ///< per cell, row by row, its first entry; then the end
    std::vector<std::uint32_t> entries_;
};

}  // namespace sandbox
