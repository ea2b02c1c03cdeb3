#include "navigation/route_search.h"

#include <bit>
#include <limits>

namespace sandbox {

namespace {

// Distances are never negative (a sum of lengths from 0), and such floats order as their bits do:
// a distance and a node packed in one integer order as the pair (distance, node).
std::uint64_t Key(float distance, int node) {
    return static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(distance)) << 32 |
           static_cast<std::uint32_t>(node);
}
float DistanceOf(std::uint64_t key) { return std::bit_cast<float>(static_cast<std::uint32_t>(key >> 32)); }
int NodeOf(std::uint64_t key) { return static_cast<int>(static_cast<std::uint32_t>(key)); }

}  // namespace

bool RouteSearch::Run(const FlatLinks& links, int start, int goal) {
    const std::size_t count = links.start.size() - 1;
    if (entries_.size() != count) {
        entries_.assign(count, {kUnreached, -1});
        touched_.clear();
    }
    Entry* const entry = entries_.data();
    for (const int i : touched_) entry[i] = {kUnreached, -1};
    touched_.clear();
    const std::uint32_t* const first = links.start.data();
    const int* const to = links.to.data();
    const float* const length = links.length.data();
    open_.Clear();
    entry[start] = {0.0f, -1};
    touched_.push_back(start);
    open_.Push(Key(0.0f, start));
    while (!open_.Empty()) {
        const std::uint64_t key = open_.PopSmallest();
        const int i = NodeOf(key);
        if (i == goal) break;
        const float d = DistanceOf(key);
        const auto at = static_cast<std::size_t>(i);
        if (d > entry[at].distance) continue;
        const std::uint32_t end = first[at + 1];
        for (std::uint32_t k = first[at]; k < end; ++k) {
            Entry& e = entry[to[k]];
            const float nd = d + length[k];
            if (!(nd < e.distance)) continue;
            if (e.distance == kUnreached) touched_.push_back(to[k]);
            e = {nd, i};
            open_.Push(Key(nd, to[k]));
        }
    }
    return entry[goal].previous >= 0;
}

}  // namespace sandbox
