#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "navigation/flat_links.h"
#include "navigation/key_heap.h"

namespace sandbox {

/// Dijkstra over a network's flat links. It keeps its scratch for the next search, which resets only
/// the entries the last one wrote. One search at a time (each network has its own).
class RouteSearch {
public:
    /// Settles nodes from `start` nearest first, ties to the lower index, until `goal` is settled or
    /// none is left; whether `goal` (not `start`) was reached.
    bool Run(const FlatLinks& links, int start, int goal);
    /// After a search that reached its goal: the node before settled node i on its way, -1 at the start.
    int Previous(int i) const { return entries_[static_cast<std::size_t>(i)].previous; }

private:
    /// The distance of a node no search has reached yet; no way that long is ever taken.
    static constexpr float kUnreached = std::numeric_limits<float>::max();
    struct Entry {
        float distance;  ///< metres, the shortest way found so far
        int previous;    ///< the node that way comes from, -1 for none
    };
    std::vector<Entry> entries_;
    std::vector<int> touched_;  ///< the nodes whose entries the last search wrote
    /// (distance, node) keys still to settle; a key whose node has since been reached by a shorter
    /// way is passed over when it comes up. A node is pushed again only nearer, so keys are unique.
    KeyHeap open_;
};

}  // namespace sandbox
