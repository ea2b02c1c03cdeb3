#include "player/hiding_spots.h"

#include <algorithm>
#include <limits>

#include "geometry/geometry.h"

namespace sandbox {

namespace {

constexpr Vec3 kEyes{0.0f, 0.0f, 1.6f};  // m above the feet, for both ends of a sight line
constexpr float kHeadroom = 2.5f;        // m between the ground and a roof he can stand under

bool IsCover(const SolidBox& box, const Geometry& geometry) {
    return box.min.z >= geometry.groundZ + kHeadroom;
}

struct Candidate {
    bool hidden;
    float margin;      ///< m to the nearest known cop
    std::size_t node;  ///< ties go to the lower node, so every library ranks alike
};

}  // namespace

bool InViewOf(Vec3 cop, Vec3 spot, float sight, const Geometry& geometry) {
    return Length(spot - cop) <= sight && geometry.SegmentClear(cop + kEyes, spot + kEyes);
}

bool Exposed(Vec3 spot, Vec3 from, std::span<const Vec3> cops, float caution, float sight,
             const Geometry& geometry) {
    return std::any_of(cops.begin(), cops.end(), [&](Vec3 c) {
        const float d = Length2D(spot - c);
        return d < Length2D(from - c) && (d <= caution || InViewOf(c, spot, sight, geometry));
    });
}

bool GoalSpoilt(Vec3 spot, Vec3 from, std::span<const Vec3> cops, float sight, const Geometry& geometry) {
    const float mine = Length2D(spot - from);
    return std::any_of(cops.begin(), cops.end(), [&](Vec3 c) {
        return Length2D(c - spot) < mine || InViewOf(c, spot, sight, geometry);
    });
}

std::vector<Vec3> Covers(const Geometry& geometry) {
    std::vector<Vec3> middles;
    for (const SolidBox& box : geometry.Boxes()) {
        if (IsCover(box, geometry))
            middles.push_back(
                {(box.min.x + box.max.x) / 2.0f, (box.min.y + box.max.y) / 2.0f, geometry.groundZ});
    }
    return middles;
}

bool UnderCover(Vec3 spot, const Geometry& geometry) {
    return std::any_of(geometry.Boxes().begin(), geometry.Boxes().end(), [&](const SolidBox& box) {
        return IsCover(box, geometry) && spot.x >= box.min.x && spot.x <= box.max.x && spot.y >= box.min.y &&
               spot.y <= box.max.y && box.min.z > spot.z + kEyes.z;
    });
}

float NearestCopDistance(Vec3 p, std::span<const Vec3> cops) {
    float best = std::numeric_limits<float>::max();
    for (Vec3 c : cops) best = std::min(best, Length2D(c - p));
    return best;
}

std::vector<int> RankSpots(const SpotSearch& search, std::span<const Vec3> nodes, std::span<const Vec3> cops,
                           const Geometry& geometry, std::size_t keep,
                           const std::function<bool(int)>& reachable) {
    const float now = NearestCopDistance(search.from, cops);
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const Vec3 node = nodes[i];
        if (!search.InReach(node) || !reachable(static_cast<int>(i))) continue;
        const float margin = NearestCopDistance(node, cops);
        // Running towards the cops is no way out, unless there is nothing else.
        if (margin <= now && !search.cornered) continue;
        const bool hidden = !search.cornered && std::none_of(cops.begin(), cops.end(), [&](Vec3 c) {
            return InViewOf(c, node, search.sight, geometry);
        });
        candidates.push_back({hidden, margin, i});
    }
    const auto better = [](const Candidate& a, const Candidate& b) {
        if (a.hidden != b.hidden) return a.hidden;
        if (a.margin != b.margin) return a.margin > b.margin;
        return a.node < b.node;
    };
    const std::size_t n = std::min(keep, candidates.size());
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(n),
                      candidates.end(), better);
    std::vector<int> ranked;
    for (std::size_t i = 0; i < n; ++i) ranked.push_back(static_cast<int>(candidates[i].node));
    return ranked;
}

}  // namespace sandbox
