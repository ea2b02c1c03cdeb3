#include "navigation/lattice_links.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "navigation/grid_box_cells.h"

namespace sandbox {

namespace {

// The narrowest step between neighbouring lines; infinity for a single line.
float SmallestGap(const std::vector<float>& lines) {
    float gap = std::numeric_limits<float>::infinity();
    for (std::size_t k = 1; k < lines.size(); ++k) gap = std::min(gap, lines[k] - lines[k - 1]);
    return gap;
}

}  // namespace

std::size_t LatticeReach(const std::vector<float>& xs, const std::vector<float>& ys, float range) {
    return static_cast<std::size_t>(std::floor(range / std::min(SmallestGap(xs), SmallestGap(ys)) * 1.001f));
}

// Each pair is tested once, from its earlier node, and each node's run lists its neighbours in
// ascending order: the earlier ones as they answered, then the later ones it asks about itself. Nodes
// are numbered column by column, so ascending order is the order of (column, row) offsets.
FlatLinks LinkLattice(const Lattice& lattice, float range, Vec3 lift, const GridBoxCells& cells) {
    const auto columns = static_cast<std::ptrdiff_t>(lattice.xs.size());
    const auto rows = static_cast<std::ptrdiff_t>(lattice.ys.size());
    const auto reach = static_cast<std::ptrdiff_t>(LatticeReach(lattice.xs, lattice.ys, range));
    // The points' nodes again, inside a border of `reach` empty points so that a neighbour is one
    // unchecked look-up away.
    const std::ptrdiff_t stride = rows + 2 * reach;
    std::vector<int> around(static_cast<std::size_t>((columns + 2 * reach) * stride), -1);
    for (std::ptrdiff_t i = 0; i < columns; ++i) {
        std::copy_n(lattice.at.begin() + i * rows, rows, around.begin() + (i + reach) * stride + reach);
    }
    // The later points a node asks about: up its own column, then the next columns bottom to top.
    struct Later {
        std::ptrdiff_t di, dj, step;
    };
    std::vector<Later> later;
    for (std::ptrdiff_t dj = 1; dj <= reach; ++dj) later.push_back({0, dj, dj});
    for (std::ptrdiff_t di = 1; di <= reach; ++di) {
        for (std::ptrdiff_t dj = -reach; dj <= reach; ++dj) later.push_back({di, dj, di * stride + dj});
    }
    // Every point a node may be linked to, in ascending order, with where the answer is kept: under
    // the earlier node of the two, at the later one's offset from it.
    struct Near {
        std::ptrdiff_t step;
        bool earlier;
        std::size_t slot;
    };
    std::vector<Near> near;
    for (std::ptrdiff_t di = -reach; di <= reach; ++di) {
        for (std::ptrdiff_t dj = -reach; dj <= reach; ++dj) {
            const bool earlier = di < 0 || (di == 0 && dj < 0);
            const std::ptrdiff_t li = earlier ? -di : di, lj = earlier ? -dj : dj;
            for (std::size_t slot = 0; slot < later.size(); ++slot) {
                if (later[slot].di == li && later[slot].dj == lj)
                    near.push_back({di * stride + dj, earlier, slot});
            }
        }
    }
    const std::vector<Vec3>& nodes = lattice.nodes;

    // Per node and later point, the length of their link, or -1 where there is none; every entry is
    // written before it is read.
    const std::size_t asked = later.size();
    const auto linked = std::make_unique_for_overwrite<float[]>(nodes.size() * asked);
    FlatLinks links;
    links.start.reserve(nodes.size() + 1);
    links.start.push_back(0);
    links.to.reserve(nodes.size() * near.size());
    links.length.reserve(links.to.capacity());
    for (std::ptrdiff_t i = 0; i < columns; ++i) {
        for (std::ptrdiff_t j = 0; j < rows; ++j) {
            const std::ptrdiff_t p = (i + reach) * stride + j + reach;
            const int a = around[static_cast<std::size_t>(p)];
            if (a < 0) continue;
            const Vec3 from = nodes[static_cast<std::size_t>(a)];
            float* const mine = linked.get() + static_cast<std::size_t>(a) * asked;
            const bool open = cells.ClearAround(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
            for (std::size_t slot = 0; slot < asked; ++slot) {
                const Later& l = later[slot];
                const int b = around[static_cast<std::size_t>(p + l.step)];
                float length = -1.0f;
                if (b >= 0) {
                    const Vec3 to = nodes[static_cast<std::size_t>(b)];
                    const float d = Length(to - from);
                    if (d <= range &&
                        (open ||
                         cells.SegmentClear(from + lift, to + lift, static_cast<std::size_t>(i),
                                            static_cast<std::size_t>(j), static_cast<std::size_t>(i + l.di),
                                            static_cast<std::size_t>(j + l.dj))))
                        length = d;
                }
                mine[slot] = length;
            }
            // The length from the other end is the same float: the difference only changes sign.
            for (const Near& n : near) {
                const int b = around[static_cast<std::size_t>(p + n.step)];
                if (b < 0) continue;
                const float length =
                    n.earlier ? linked[static_cast<std::size_t>(b) * asked + n.slot] : mine[n.slot];
                if (length < 0.0f) continue;
                links.to.push_back(b);
                links.length.push_back(length);
            }
            links.start.push_back(static_cast<std::uint32_t>(links.to.size()));
        }
    }
    return links;
}

}  // namespace sandbox
