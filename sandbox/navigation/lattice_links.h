#pragma once

#include <cstddef>
#include <vector>

#include "geometry/vec3.h"
#include "navigation/flat_links.h"

namespace sandbox {

class GridBoxCells;

/// Nodes on the points of a grid: `at` holds each point's node, or -1 where there is none, column by
/// column (point (i, j) at i * ys.size() + j), and the nodes are numbered in that order.
struct Lattice {
    const std::vector<float>& xs;  ///< the grid's lines across x, ascending
    const std::vector<float>& ys;  ///< and across y
    const std::vector<int>& at;
    const std::vector<Vec3>& nodes;
};

/// How many lines apart two points of the grid may be, in x or in y, and still lie within `range`
/// (with a little to spare against rounding in the distances).
std::size_t LatticeReach(const std::vector<float>& xs, const std::vector<float>& ys, float range);

/// Links each node to every other within `range` (the float length between them) whose way, both
/// ends raised by `lift`, `cells` finds clear; `cells` must answer ClearAround for LatticeReach.
FlatLinks LinkLattice(const Lattice& lattice, float range, Vec3 lift, const GridBoxCells& cells);

}  // namespace sandbox
