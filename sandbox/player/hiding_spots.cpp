#include "player/hiding_spots.h"

#include <algorithm>
#include <limits>

#include "geometry/geometry.h"

namespace sandbox {

namespace {

constexpr Vec3 kEyes{0.0f, 0.0f, 1.6f};  // m above the feet, for both ends of a sight line

struct Candidate {
    Vec3 spot;
    bool hidden;
    float margin;      ///< m to the nearest known cop
    std::size_t node;  ///< ties go to the lower node, so every library ranks alike
};

}  // namespace

bool InViewOf(Vec3 cop, Vec3 spot, float sight, const Geometry& geometry) {
    return Length(spot - cop) <= sight && geometry.SegmentClear(cop + kEyes, spot + kEyes);
}

std::vector<Vec3> RankSpots(const SpotSearch& search, std::span<const Vec3> nodes, std::span<const Vec3> cops,
                            const Geometry& geometry, std::size_t keep) {
    const auto nearestCop = [&](Vec3 p) {
        float best = std::numeric_limits<float>::max();
        for (Vec3 c : cops) best = std::min(best, Length2D(c - p));
        return best;
    };
    const float now = nearestCop(search.from);
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const Vec3 node = nodes[i];
        const float d = Length2D(node - search.from);
        if (d < search.nearest || d > search.farthest) continue;
        const float margin = nearestCop(node);
        // Running towards the cops is no way out.
        if (margin <= now) continue;
        const bool hidden = std::none_of(cops.begin(), cops.end(),
                                         [&](Vec3 c) { return InViewOf(c, node, search.sight, geometry); });
        candidates.push_back({node, hidden, margin, i});
    }
    const auto better = [](const Candidate& a, const Candidate& b) {
        if (a.hidden != b.hidden) return a.hidden;
        if (a.margin != b.margin) return a.margin > b.margin;
        return a.node < b.node;
    };
    const std::size_t n = std::min(keep, candidates.size());
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(n),
                      candidates.end(), better);
    std::vector<Vec3> ranked;
    for (std::size_t i = 0; i < n; ++i) ranked.push_back(candidates[i].spot);
    return ranked;
}

}  // namespace sandbox
