#include "navigation/node_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace sandbox {

namespace {

// How much a cell's distance bound is loosened against the rounding of the float distance of the
// nodes in it: a relative part far above float precision, and an absolute part for tiny distances.
constexpr double kBoundSlack = 1e-5;
constexpr double kBoundSlackMetres = 1e-6;

struct Candidate {
    float d;  ///< the float distance a scan of every node compares
    int i;
    bool operator>(const Candidate& o) const { return d > o.d || (d == o.d && i > o.i); }
};

}  // namespace

NodeGrid::NodeGrid(const std::vector<Vec3>& nodes, float minCell) {
    if (nodes.empty()) return;
    double minX = nodes[0].x, maxX = minX, minY = nodes[0].y, maxY = minY;
    for (const Vec3& n : nodes) {
        minX = std::min(minX, static_cast<double>(n.x));
        maxX = std::max(maxX, static_cast<double>(n.x));
        minY = std::min(minY, static_cast<double>(n.y));
        maxY = std::max(maxY, static_cast<double>(n.y));
    }
    originX_ = minX;
    originY_ = minY;
    // Nodes spread thin would need more cells than nodes; wider cells keep the table small.
    const double most = 4.0 * static_cast<double>(nodes.size()) + 64.0;
    cell_ = std::max(static_cast<double>(minCell), 1e-3);
    double columns = 0.0, rows = 0.0;
    for (;;) {
        columns = std::floor((maxX - minX) / cell_) + 1.0;
        rows = std::floor((maxY - minY) / cell_) + 1.0;
        if (columns * rows <= most) break;
        cell_ *= 2.0;
    }
    columns_ = static_cast<std::int64_t>(columns);
    rows_ = static_cast<std::int64_t>(rows);

    // Each cell's count becomes its end, and filling from the last node down leaves it at its start.
    cellStart_.assign(static_cast<std::size_t>(columns_ * rows_) + 1, 0);
    const auto cellOfNode = std::make_unique_for_overwrite<std::uint32_t[]>(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const CellXY c = CellOf(nodes[i].x, nodes[i].y);
        cellOfNode[i] = static_cast<std::uint32_t>(CellIndex(c.x, c.y));
        ++cellStart_[cellOfNode[i]];
    }
    for (std::size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
    entries_.resize(nodes.size());
    for (std::size_t i = nodes.size(); i-- > 0;)
        entries_[--cellStart_[cellOfNode[i]]] = static_cast<std::uint32_t>(i);
}

NodeGrid::CellXY NodeGrid::CellOf(double x, double y) const {
    // The cell's index rounded down and held within the grid; within it, rounding towards zero is
    // rounding down.
    const auto along = [](double v, std::int64_t count) {
        if (!(v >= 0.0)) return std::int64_t{0};
        return v >= static_cast<double>(count - 1) ? count - 1 : static_cast<std::int64_t>(v);
    };
    return {along((x - originX_) / cell_, columns_), along((y - originY_) / cell_, rows_)};
}

void NodeGrid::ForEachNeighbourCandidate(const std::vector<Vec3>& nodes, int i,
                                         const std::function<void(int)>& visit) const {
    const Vec3 n = nodes[static_cast<std::size_t>(i)];
    const CellXY c = CellOf(n.x, n.y);
    for (std::int64_t y = std::max<std::int64_t>(c.y - 1, 0); y <= std::min(c.y + 1, rows_ - 1); ++y) {
        for (std::int64_t x = std::max<std::int64_t>(c.x - 1, 0); x <= std::min(c.x + 1, columns_ - 1); ++x) {
            const auto cell = static_cast<std::size_t>(CellIndex(x, y));
            for (std::uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
                visit(static_cast<int>(entries_[k]));
            }
        }
    }
}

// Rings of cells around the one nearest to p. A node is asked about only while it would beat the best
// accepted so far, and the search stops once no unopened ring can hold a node as near. Asking in cell
// order rather than by distance keeps the far searches (from roofs nearly every node is refused)
// cheap; a near search asks a few more nodes than it strictly needs.
int NodeGrid::Nearest(const std::vector<Vec3>& nodes, Vec3 p, const std::function<bool(int)>& accept) const {
    if (entries_.empty() || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return -1;
    // Where p is outside the grid, every node is at least as far from p as from p's foot on the grid.
    const double qx =
        std::clamp(static_cast<double>(p.x), originX_, originX_ + static_cast<double>(columns_) * cell_);
    const double qy =
        std::clamp(static_cast<double>(p.y), originY_, originY_ + static_cast<double>(rows_) * cell_);
    const double outside2 = (p.x - qx) * (p.x - qx) + (p.y - qy) * (p.y - qy);
    const CellXY s = CellOf(qx, qy);
    const std::int64_t lastRing = std::max({s.x, columns_ - 1 - s.x, s.y, rows_ - 1 - s.y});
    const auto ringBound = [&](std::int64_t r) {
        const double gap = static_cast<double>(std::max<std::int64_t>(r - 1, 0)) * cell_;
        return std::sqrt(outside2 + gap * gap) * (1.0 - kBoundSlack) - kBoundSlackMetres;
    };

    // A node whose float distance overflows counts as out of reach, as in a scan of them all.
    Candidate best{std::numeric_limits<float>::max(), -1};
    const auto openCell = [&](std::int64_t x, std::int64_t y) {
        if (x < 0 || y < 0 || x >= columns_ || y >= rows_) return;
        const auto cell = static_cast<std::size_t>(CellIndex(x, y));
        for (std::uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
            const Candidate c{Length(nodes[entries_[k]] - p), static_cast<int>(entries_[k])};
            if ((best.i < 0 ? c.d < best.d : best > c) && accept(c.i)) best = c;
        }
    };
    for (std::int64_t r = 0; r <= lastRing && ringBound(r) <= static_cast<double>(best.d); ++r) {
        if (r == 0) {
            openCell(s.x, s.y);
            continue;
        }
        for (std::int64_t x = s.x - r; x <= s.x + r; ++x) {
            openCell(x, s.y - r);
            openCell(x, s.y + r);
        }
        for (std::int64_t y = s.y - r + 1; y <= s.y + r - 1; ++y) {
            openCell(s.x - r, y);
            openCell(s.x + r, y);
        }
    }
    return best.i;
}

}  // namespace sandbox
