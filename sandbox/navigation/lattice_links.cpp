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

// The lattice's nodes again, inside a border of `reach` empty points so that a neighbour is one
// unchecked look-up away: point (i, j) at (i + reach) * stride + j + reach.
struct Padded {
    std::ptrdiff_t reach;
    std::ptrdiff_t stride;
    std::vector<int> at;

    std::ptrdiff_t Point(std::ptrdiff_t i, std::ptrdiff_t j) const {
        return (i + reach) * stride + j + reach;
    }
};

Padded Pad(const Lattice& lattice, std::ptrdiff_t reach) {
    const auto columns = static_cast<std::ptrdiff_t>(lattice.xs.size());
    const auto rows = static_cast<std::ptrdiff_t>(lattice.ys.size());
    Padded padded{reach, rows + 2 * reach, {}};
    padded.at.assign(static_cast<std::size_t>((columns + 2 * reach) * padded.stride), -1);
    for (std::ptrdiff_t i = 0; i < columns; ++i) {
        std::copy_n(lattice.at.begin() + i * rows, rows, padded.at.begin() + padded.Point(i, 0));
    }
    return padded;
}

// A later point a node asks about: its offset in columns and rows, and in the padded table.
struct Later {
    std::ptrdiff_t di, dj, step;
};

// The later points a node asks about: up its own column, then the next columns bottom to top.
std::vector<Later> LaterPoints(const Padded& padded) {
    const std::ptrdiff_t reach = padded.reach;
    std::vector<Later> later;
    for (std::ptrdiff_t dj = 1; dj <= reach; ++dj) later.push_back({0, dj, dj});
    for (std::ptrdiff_t di = 1; di <= reach; ++di) {
        for (std::ptrdiff_t dj = -reach; dj <= reach; ++dj)
            later.push_back({di, dj, di * padded.stride + dj});
    }
    return later;
}

// A point a node may be linked to, with where the answer is kept: under the earlier node of the
// two, at the later one's slot among the earlier one's later points.
struct Near {
    std::ptrdiff_t step;
    bool earlier;
    std::size_t slot;
};

// Where the later point at (di, dj) from a node is among its later points.
std::size_t SlotOf(const std::vector<Later>& later, std::ptrdiff_t di, std::ptrdiff_t dj) {
    const auto it =
        std::find_if(later.begin(), later.end(), [&](const Later& l) { return l.di == di && l.dj == dj; });
    return static_cast<std::size_t>(it - later.begin());
}

// Every point a node may be linked to, in ascending order.
std::vector<Near> NearPoints(const Padded& padded, const std::vector<Later>& later) {
    const std::ptrdiff_t reach = padded.reach;
    std::vector<Near> near;
    for (std::ptrdiff_t di = -reach; di <= reach; ++di) {
        for (std::ptrdiff_t dj = -reach; dj <= reach; ++dj) {
            if (di == 0 && dj == 0) continue;
            const bool earlier = di < 0 || (di == 0 && dj < 0);
            near.push_back({di * padded.stride + dj, earlier,
                            earlier ? SlotOf(later, -di, -dj) : SlotOf(later, di, dj)});
        }
    }
    return near;
}

// The questions a node asks of its later points, and the answers it keeps for them.
struct LinkTest {
    const Padded& padded;
    const std::vector<Later>& later;
    const std::vector<Vec3>& nodes;
    float range;
    Vec3 lift;
    const GridBoxCells& cells;

    // Per later point of node `a` on point (i, j), the length of their link, or -1 where there is
    // none, into `lengths`.
    void Ask(std::ptrdiff_t i, std::ptrdiff_t j, int a, float* lengths) const {
        const std::ptrdiff_t p = padded.Point(i, j);
        const Vec3 from = nodes[static_cast<std::size_t>(a)];
        const bool open = cells.ClearAround(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
        for (std::size_t slot = 0; slot < later.size(); ++slot) {
            const Later& l = later[slot];
            const int b = padded.at[static_cast<std::size_t>(p + l.step)];
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
            lengths[slot] = length;
        }
    }
};

// Ends the run of the node on padded point p with its links in ascending order, from `linked`, which
// holds `asked` lengths per node: to an earlier node as that one answered, to a later one as this one
// did. The length from the other end is the same float: the difference only changes sign.
void ListLinks(const Padded& padded, const std::vector<Near>& near, std::ptrdiff_t p, const float* linked,
               std::size_t asked, FlatLinks& links) {
    const int a = padded.at[static_cast<std::size_t>(p)];
    const float* const mine = linked + static_cast<std::size_t>(a) * asked;
    for (const Near& n : near) {
        const int b = padded.at[static_cast<std::size_t>(p + n.step)];
        if (b < 0) continue;
        const float length = n.earlier ? linked[static_cast<std::size_t>(b) * asked + n.slot] : mine[n.slot];
        if (length < 0.0f) continue;
        links.to.push_back(b);
        links.length.push_back(length);
    }
    links.start.push_back(static_cast<std::uint32_t>(links.to.size()));
}

}  // namespace

std::size_t LatticeReach(const std::vector<float>& xs, const std::vector<float>& ys, float range) {
    return static_cast<std::size_t>(std::floor(range / std::min(SmallestGap(xs), SmallestGap(ys)) * 1.001f));
}

// Each pair is tested once, from its earlier node, and each node's run lists its neighbours in
// ascending order: the earlier ones as they answered, then the later ones it asks about itself. Nodes
// are numbered column by column, so ascending order is the order of (column, row) offsets.
FlatLinks LinkLattice(const Lattice& lattice, float range, Vec3 lift, const GridBoxCells& cells) {
    const Padded padded =
        Pad(lattice, static_cast<std::ptrdiff_t>(LatticeReach(lattice.xs, lattice.ys, range)));
    const std::vector<Later> later = LaterPoints(padded);
    const std::vector<Near> near = NearPoints(padded, later);
    const std::vector<Vec3>& nodes = lattice.nodes;
    const LinkTest test{padded, later, nodes, range, lift, cells};

    // Per node and later point, the length of their link, or -1 where there is none; every entry is
    // written before it is read.
    const std::size_t asked = later.size();
    const auto linked = std::make_unique_for_overwrite<float[]>(nodes.size() * asked);
    FlatLinks links;
    links.start.reserve(nodes.size() + 1);
    links.start.push_back(0);
    links.to.reserve(nodes.size() * near.size());
    links.length.reserve(links.to.capacity());
    for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(lattice.xs.size()); ++i) {
        for (std::ptrdiff_t j = 0; j < static_cast<std::ptrdiff_t>(lattice.ys.size()); ++j) {
            const std::ptrdiff_t p = padded.Point(i, j);
            const int a = padded.at[static_cast<std::size_t>(p)];
            if (a < 0) continue;
            test.Ask(i, j, a, linked.get() + static_cast<std::size_t>(a) * asked);
            ListLinks(padded, near, p, linked.get(), asked, links);
        }
    }
    return links;
}

}  // namespace sandbox
