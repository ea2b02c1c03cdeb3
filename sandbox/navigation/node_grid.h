#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "geometry/vec3.h"

namespace sandbox {

/// Path nodes sorted into square cells over x and y, for the searches that would otherwise look at
/// every node: the neighbours of a node, and the nearest node that passes a test.
class NodeGrid {
public:
    NodeGrid() = default;
    /// Cells are at least `minCell` metres wide (wider where the nodes are spread thin); every
    /// coordinate must be finite.
    NodeGrid(const std::vector<Vec3>& nodes, float minCell);

    /// Calls `visit(j)` for every node j in the cells within one cell of node i's, i included: with
    /// `minCell` at least r, this holds every node within r of node i.
    void ForEachNeighbourCandidate(const std::vector<Vec3>& nodes, int i,
                                   const std::function<void(int)>& visit) const;

    /// The node nearest to p in 3D (by the same float distance a scan of every node would use; on a
    /// tie the lower index) for which `accept` holds, or -1: none does, p is not finite, or p is so far
    /// away that the float distance overflows. `accept` is asked only of nodes that would still win, in
    /// no set order, and must give the same answer whenever it is asked.
    int Nearest(const std::vector<Vec3>& nodes, Vec3 p, const std::function<bool(int)>& accept) const;

private:
    struct CellXY {
        std::int64_t x;
        std::int64_t y;
    };
    CellXY CellOf(double x, double y) const;
    std::int64_t CellIndex(std::int64_t x, std::int64_t y) const { return y * columns_ + x; }

    double originX_ = 0.0;
    double originY_ = 0.0;
    double cell_ = 1.0;
    std::int64_t columns_ = 0;
    std::int64_t rows_ = 0;
    std::vector<std::uint32_t> cellStart_;  ///< per cell, its first entry in entries_; one more at the end
    std::vector<std::uint32_t> entries_;    ///< node indices by cell, ascending within each
};

}  // namespace sandbox
