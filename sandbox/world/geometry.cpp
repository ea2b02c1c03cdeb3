#include "world/geometry.h"

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

void Geometry::Index() {
    std::vector<Bounds> bounds;
    bounds.reserve(boxes_.size());
    for (const SolidBox& box : boxes_) bounds.push_back({box.min, box.max});
    tree_ = BoxTree(bounds);
    plans_ = FootprintGrid(bounds);
}

bool Geometry::SegmentClear(Vec3 a, Vec3 b) const {
    std::uint32_t none = static_cast<std::uint32_t>(-1);
    return SegmentClear(a, b, none);
}

bool Geometry::SegmentClear(Vec3 a, Vec3 b, std::uint32_t& blocker) const {
    // The tree never skips a box the exact test would hit, so any box that hits decides alone.
    if (blocker < boxes_.size() && SegmentHitsBox(a, b, boxes_[blocker].min, boxes_[blocker].max))
        return false;
    return !tree_.AnyOnSegment(a, b, [&](std::uint32_t i) {
        const SolidBox& box = boxes_[i];
        if (!SegmentHitsBox(a, b, box.min, box.max)) return false;
        blocker = i;
        return true;
    });
}

bool Geometry::ShortSegmentClear(Vec3 a, Vec3 b) const {
    // The exact test can only hit a box that reaches the segment's bounds, give or take its rounding:
    // the margin, far wider than a few float steps of the segment's length, covers that.
    const Vec3 d = b - a;
    const float margin = 1e-4f * (std::abs(d.x) + std::abs(d.y) + std::abs(d.z)) + 1e-6f;
    if (!std::isfinite(margin)) return SegmentClear(a, b);
    const Bounds region{
        {std::min(a.x, b.x) - margin, std::min(a.y, b.y) - margin, std::min(a.z, b.z) - margin},
        {std::max(a.x, b.x) + margin, std::max(a.y, b.y) + margin, std::max(a.z, b.z) + margin}};
    const bool near = tree_.AnyOverlapping(region, [&](std::uint32_t i) {
        return Touch({boxes_[i].min, boxes_[i].max}, region);
    });
    return !near || SegmentClear(a, b);
}

float Geometry::GroundZ(float x, float y) const {
    for (const GroundHole& h : holes) {
        if (x >= h.minX && x <= h.maxX && y >= h.minY && y <= h.maxY) return -100.0f;
    }
    // The highest top; among equal tops (0 and -0) the ground's own height, then the first box, wins.
    float z = groundZ;
    std::int64_t from = -1;
    for (const std::uint32_t i : plans_.Over(x, y)) {
        const SolidBox& box = boxes_[i];
        if (!(x >= box.min.x && x <= box.max.x && y >= box.min.y && y <= box.max.y)) continue;
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
    return tree_.AnyOverlapping(point, [&](std::uint32_t i) {
        return Touch({boxes_[i].min, boxes_[i].max}, point);
    });
}

}  // namespace sandbox
