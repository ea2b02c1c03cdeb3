#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "world/box_tree.h"
#include "world/footprint_grid.h"
#include "world/vec3.h"

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
    /// Replaces the boxes; the queries below index them once here.
    void SetBoxes(std::vector<SolidBox> boxes);
    void AddBox(SolidBox box);

    /// True when the segment from a to b passes through none of the boxes.
    bool SegmentClear(Vec3 a, Vec3 b) const;
    /// The same answer, testing box `blocker` (an index into Boxes(); any other value for none) before
    /// the others, and leaving in it the box that blocked the segment: many segments from one point are
    /// blocked by the same box, which then costs one box test instead of a walk of the tree.
    bool SegmentClear(Vec3 a, Vec3 b, std::uint32_t& blocker) const;
    /// The same answer as SegmentClear, cheaper for short segments in open ground: one that no box
    /// comes near needs no exact test at all.
    bool ShortSegmentClear(Vec3 a, Vec3 b) const;
    /// The ground height under (x, y): the top of the highest box there, else groundZ; -100 over a hole.
    float GroundZ(float x, float y) const;
    /// GroundZ, but over a hole the base ground: what flying heights are measured from.
    float FloorZ(float x, float y) const { return std::max(GroundZ(x, y), groundZ); }
    /// True when the point lies inside a box.
    bool InsideBox(Vec3 p) const;
    /// True when the point lies in a box or on its surface: then every segment from it is blocked.
    bool InOrOnBox(Vec3 p) const;
    /// Calls `visit(i)` for each box i (an index into Boxes()) that the segment a-b may pass
    /// through, in no set order; any box it does pass through is among them.
    template <class Visit>
    void ForEachOnSegment(Vec3 a, Vec3 b, Visit&& visit) const {
        tree_.AnyOnSegment(a, b, [&](std::uint32_t i) {
            visit(i);
            return false;
        });
    }

private:
    void Index();

    std::vector<SolidBox> boxes_;
    BoxTree tree_;
    FootprintGrid plans_;  ///< for the point queries: ground height and "inside a box"
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

}  // namespace sandbox
