#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "geometry/bounds.h"
#include "geometry/footprint_grid.h"
#include "geometry/vec3.h"

namespace sandbox {

/// A solid axis-aligned box: a building, a wall.
struct SolidBox {
    std::string id;
    Vec3 min;
    Vec3 max;
};

/// Where the ground query finds nothing.
struct GroundHole {
    float minX, minY, maxX, maxY;
};

/// The static world: ground height, solid boxes and holes in the ground.
class Geometry {
public:
    float groundZ = 0.0f;
    std::vector<GroundHole> holes;

    const std::vector<SolidBox>& Boxes() const { return boxes_; }
    /// Counts the changes to the boxes, from 1: a remembered answer about them holds while it stays.
    std::uint32_t BoxRevision() const { return revision_; }
    /// Replaces the boxes (each with min no greater than max); the queries below index them once here.
    void SetBoxes(std::vector<SolidBox> boxes);
    void AddBox(SolidBox box);

    /// True when the segment from a to b passes through none of the boxes.
    bool SegmentClear(Vec3 a, Vec3 b) const;
    /// The same answer, testing box `blocker` (an index into Boxes(); any other value for none) before
    /// the others, and leaving in it the box that blocked the segment: many segments from one point are
    /// blocked by the same box, which then costs one box test instead of a walk of the grid.
    bool SegmentClear(Vec3 a, Vec3 b, std::uint32_t& blocker) const;
    /// The ground height under (x, y): the top of the highest box there, else groundZ; -100 over a hole.
    float GroundZ(float x, float y) const {
        return GroundZUnder(x, y, std::numeric_limits<float>::infinity());
    }
    /// The ground under (x, y) for someone whose knees are at `kneeZ`: a box whose bottom is higher
    /// (a roof over an underpass) passes over him and is no ground of his.
    float GroundZUnder(float x, float y, float kneeZ) const;
    /// GroundZ, but over a hole the base ground: what flying heights are measured from.
    float FloorZ(float x, float y) const { return std::max(GroundZ(x, y), groundZ); }
    /// True when the point lies inside a box.
    bool InsideBox(Vec3 p) const;
    /// True when the point lies in a box or on its surface: then every segment from it is blocked.
    bool InOrOnBox(Vec3 p) const;
    /// Calls `visit(i)` once for each box i (an index into Boxes()) that the segment a-b may pass
    /// through, in no set order; any box it does pass through is among them. `visit` must not query
    /// this geometry.
    template <class Visit>
    void ForEachOnSegment(Vec3 a, Vec3 b, Visit&& visit) const {
        AnyOnSegment(a, b, [&](std::uint32_t i) {
            visit(i);
            return false;
        });
    }

private:
    void Index();
    /// Hands `visit(i)` each box i that the segment may pass through, once, until it returns true;
    /// true when some call did.
    template <class Visit>
    bool AnyOnSegment(Vec3 a, Vec3 b, Visit&& visit) const;
    /// How far from a finite segment a box may be and still be hit by the exact test, in metres, and
    /// the segment's bounds widened by that.
    struct Reach {
        float margin;
        Bounds bounds;
    };
    static Reach ReachOf(Vec3 a, Vec3 b);
    /// A number no earlier walk has stamped on a box.
    std::uint32_t NextWalk() const;

    std::vector<SolidBox> boxes_;
    std::uint32_t revision_ = 1;
    FootprintGrid plans_;  ///< for the point queries: ground height and "inside a box"
    FootprintGrid lines_;  ///< for the segment queries: coarser, so that a long line crosses fewer rows
    // Segment walks meet a box in every cell it covers; a box stamped with the current walk has been
    // handed over already. A world is only ever asked from one thread.
    mutable std::vector<std::uint32_t> stamps_;
    mutable std::uint32_t walk_ = 0;
};

/// True when the segment from a to b passes through the box (slab test).
bool SegmentHitsBox(Vec3 a, Vec3 b, Vec3 boxMin, Vec3 boxMax);
/// True when p lies inside the box as Geometry::InsideBox counts it: strictly within it across, from
/// its bottom up to but not including its top.
inline bool PointInsideBox(Vec3 p, const SolidBox& box) {
    return p.x > box.min.x && p.x < box.max.x && p.y > box.min.y && p.y < box.max.y && p.z >= box.min.z &&
           p.z < box.max.z;
}
/// The same for a box standing on `base` (the centre of its bottom), turned by `heading` about the
/// vertical: `half` is half its width (x), half its length (y, the way it faces) and half its height.
bool SegmentHitsTurnedBox(Vec3 a, Vec3 b, Vec3 base, Vec3 half, float heading);

template <class Visit>
bool Geometry::AnyOnSegment(Vec3 a, Vec3 b, Visit&& visit) const {
    const bool finite = std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z) &&
                        std::isfinite(b.x) && std::isfinite(b.y) && std::isfinite(b.z);
    if (!finite) {
        // Infinities and NaN have their own answers from the exact test; such a segment is rare.
        for (std::uint32_t i = 0; i < boxes_.size(); ++i) {
            if (visit(i)) return true;
        }
        return false;
    }
    const Reach reach = ReachOf(a, b);
    const std::uint32_t walk = NextWalk();
    return lines_.AnyRunAlong(a, b, reach.bounds, reach.margin, [&](std::span<const std::uint32_t> run) {
        for (const std::uint32_t i : run) {
            if (stamps_[i] == walk) continue;
            stamps_[i] = walk;
            if (Touch({boxes_[i].min, boxes_[i].max}, reach.bounds) && visit(i)) return true;
        }
        return false;
    });
}

}  // namespace sandbox
