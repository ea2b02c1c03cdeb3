#include "geometry/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace sandbox {

bool SegmentHitsBox(Vec3 a, Vec3 b, Vec3 boxMin, Vec3 boxMax) {
    float t0 = 0.0f;
    float t1 = 1.0f;
    const float start[3] = {a.x, a.y, a.z};
    const float delta[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
    const float lo[3] = {boxMin.x, boxMin.y, boxMin.z};
    const float hi[3] = {boxMax.x, boxMax.y, boxMax.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (delta[axis] == 0.0f) {
            if (start[axis] < lo[axis] || start[axis] > hi[axis]) return false;
            continue;
        }
        float tNear = (lo[axis] - start[axis]) / delta[axis];
        float tFar = (hi[axis] - start[axis]) / delta[axis];
        if (tNear > tFar) std::swap(tNear, tFar);
        t0 = std::max(t0, tNear);
        t1 = std::min(t1, tFar);
        if (t0 > t1) return false;
    }
    return true;
}

bool SegmentHitsTurnedBox(Vec3 a, Vec3 b, Vec3 base, Vec3 half, float heading) {
    // Into the box's own frame: x along its side, y the way it faces (-sin h, cos h).
    const float c = std::cos(heading);
    const float s = std::sin(heading);
    const auto local = [&](Vec3 p) {
        const Vec3 d = p - base;
        return Vec3{d.x * c + d.y * s, -d.x * s + d.y * c, d.z};
    };
    return SegmentHitsBox(local(a), local(b), {-half.x, -half.y, 0.0f}, {half.x, half.y, 2.0f * half.z});
}

void Geometry::SetBoxes(std::vector<SolidBox> boxes) {
    boxes_ = std::move(boxes);
    Index();
}

void Geometry::AddBox(SolidBox box) {
    boxes_.push_back(std::move(box));
    Index();
}

namespace {

// Cells across the town's wider side. Point queries read one cell: street-wide cells keep its list
// short. Segments cross cells row by row: cells about a block and a street wide keep the rows few
// (of 8 to 24 across, 12 did best in the stress towns).
constexpr int kPlanCellsAcross = 64;
constexpr int kLineCellsAcross = 12;

}  // namespace

void Geometry::Index() {
    if (++revision_ == 0) revision_ = 1;  // 0 stands for "never"
    std::vector<Bounds> bounds;
    bounds.reserve(boxes_.size());
    for (const SolidBox& box : boxes_) bounds.push_back({box.min, box.max});
    plans_ = FootprintGrid(bounds, kPlanCellsAcross);
    lines_ = FootprintGrid(bounds, kLineCellsAcross);
    stamps_.assign(boxes_.size(), 0);
    walk_ = 0;
}

std::uint32_t Geometry::NextWalk() const {
    if (++walk_ == 0) {
        // After four billion walks the old stamps could pass for new ones.
        std::fill(stamps_.begin(), stamps_.end(), 0);
        walk_ = 1;
    }
    return walk_;
}

Geometry::Reach Geometry::ReachOf(Vec3 a, Vec3 b) {
    // The exact test rounds each crossing of a face to a few float steps of the segment's length; the
    // margin is far wider than that, and than the rounding of the coordinates and of the sums below.
    // A sum that overflows only widens the reach to everything.
    const Vec3 lo{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
    const Vec3 hi{std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
    const Vec3 size = hi - lo;
    const float most =
        std::max(std::max(std::max(-lo.x, hi.x), std::max(-lo.y, hi.y)), std::max(-lo.z, hi.z));
    const float margin = 1e-4f * (size.x + size.y + size.z) + 1e-6f * (1.0f + most);
    const Vec3 widen{margin, margin, margin};
    return {margin, {lo - widen, hi + widen}};
}

bool Geometry::SegmentClear(Vec3 a, Vec3 b) const {
    std::uint32_t none = static_cast<std::uint32_t>(-1);
    return SegmentClear(a, b, none);
}

bool Geometry::SegmentClear(Vec3 a, Vec3 b, std::uint32_t& blocker) const {
    // The walk never skips a box the exact test would hit, so any box that hits decides alone.
    if (blocker < boxes_.size() && SegmentHitsBox(a, b, boxes_[blocker].min, boxes_[blocker].max))
        return false;
    return !AnyOnSegment(a, b, [&](std::uint32_t i) {
        const SolidBox& box = boxes_[i];
        if (!SegmentHitsBox(a, b, box.min, box.max)) return false;
        blocker = i;
        return true;
    });
}

float Geometry::GroundZUnder(float x, float y, float kneeZ) const {
    for (const GroundHole& h : holes) {
        if (x >= h.minX && x <= h.maxX && y >= h.minY && y <= h.maxY) return -100.0f;
    }
    // The highest top; among equal tops (0 and -0) the ground's own height, then the first box, wins.
    float z = groundZ;
    std::int64_t from = -1;
    for (const std::uint32_t i : plans_.Over(x, y)) {
        const SolidBox& box = boxes_[i];
        if (!(x >= box.min.x && x <= box.max.x && y >= box.min.y && y <= box.max.y) || box.min.z > kneeZ)
            continue;
        const float top = box.max.z;
        if (top > z || (top == z && from >= 0 && i < from)) {
            z = top;
            from = i;
        }
    }
    return z;
}

bool Geometry::InsideBox(Vec3 p) const {
    for (const std::uint32_t i : plans_.Over(p.x, p.y)) {
        if (PointInsideBox(p, boxes_[i])) return true;
    }
    return false;
}

bool Geometry::InOrOnBox(Vec3 p) const {
    // A segment that starts within a box's closed bounds passes every slab of that box at t = 0, so
    // the exact test counts it as a hit whatever its other end.
    const Bounds point{p, p};
    for (const std::uint32_t i : plans_.Over(p.x, p.y)) {
        if (Touch({boxes_[i].min, boxes_[i].max}, point)) return true;
    }
    return false;
}

}  // namespace sandbox
