#include "world/footprint_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sandbox {

namespace {

// Cells across the wider side of the boxes' extent: a street-wide cell in a town, few boxes to a list.
constexpr int kCellsAcross = 64;

}  // namespace

FootprintGrid::FootprintGrid(const std::vector<Bounds>& boxes) {
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
        const float scale = static_cast<float>(kCellsAcross) / wide;
        if (std::isfinite(scale) && scale > 0.0f) {
            originX_ = lo[0];
            originY_ = lo[1];
            scale_ = scale;
            const auto across = [&](float extent) {
                return std::clamp(static_cast<int>(std::ceil(extent * scale)), 1, kCellsAcross);
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

}  // namespace sandbox
