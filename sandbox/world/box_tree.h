#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "world/vec3.h"

namespace sandbox {

/// Axis-aligned bounds of one solid box, as the tree sees it.
struct Bounds {
    Vec3 min;
    Vec3 max;
};

/// True when the two bounds share a point (edges included).
inline bool Touch(const Bounds& a, const Bounds& b) {
    return a.min.x <= b.max.x && a.max.x >= b.min.x && a.min.y <= b.max.y && a.max.y >= b.min.y &&
           a.min.z <= b.max.z && a.max.z >= b.min.z;
}

/// A bounding-volume tree over a fixed set of boxes, so that a segment or point query looks at the
/// few boxes near it instead of all of them.
///
/// The queries only narrow the candidates: the caller still runs its own exact test on each box it
/// is handed. A node's bounds enclose its boxes and the segment test against them is the same slab
/// test, whose rounding is monotonic in the bounds, so no box that the exact test would hit is ever
/// skipped and the answers match a test of every box.
class BoxTree {
public:
    BoxTree() = default;
    explicit BoxTree(const std::vector<Bounds>& boxes);

    /// Calls `visit(i)` for each box i whose bounds the segment a-b may touch, until it returns true;
    /// true when some call did. A segment with a coordinate that is not finite visits every box.
    template <class Visit>
    bool AnyOnSegment(Vec3 a, Vec3 b, Visit&& visit) const;
    /// Calls `visit(i)` for each box i whose bounds may touch `region` (edges included), until it
    /// returns true; true when some call did.
    template <class Visit>
    bool AnyOverlapping(const Bounds& region, Visit&& visit) const;

private:
    struct Node {
        Bounds bounds;
        std::uint32_t first;  ///< leaf: its first entry in order_; inner: its right child (left is next)
        std::uint32_t count;  ///< boxes in a leaf; 0 for an inner node
    };
    std::uint32_t Build(std::uint32_t first, std::uint32_t count, const std::vector<Bounds>& boxes);
    /// Depth first through the nodes whose bounds `enter` accepts, handing each of their boxes to
    /// `visit` until it returns true; true when it did.
    template <class Enter, class Visit>
    bool Walk(Enter&& enter, Visit&& visit) const;
    static bool SegmentMayTouch(const Bounds& bounds, Vec3 a, Vec3 b);

    std::vector<Node> nodes_;
    std::vector<std::uint32_t> order_;  ///< box indices, grouped by leaf
};

template <class Enter, class Visit>
bool BoxTree::Walk(Enter&& enter, Visit&& visit) const {
    if (nodes_.empty()) return false;
    std::uint32_t stack[64];  // the tree is split at medians, so it is far shallower than this
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const std::uint32_t index = stack[--top];
        const Node& node = nodes_[index];
        if (!enter(node.bounds)) continue;
        if (node.count == 0) {
            stack[top++] = node.first;
            stack[top++] = index + 1;
            continue;
        }
        for (std::uint32_t k = node.first; k < node.first + node.count; ++k) {
            if (visit(order_[k])) return true;
        }
    }
    return false;
}

template <class Visit>
bool BoxTree::AnyOnSegment(Vec3 a, Vec3 b, Visit&& visit) const {
    const bool finite = std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z) &&
                        std::isfinite(b.x) && std::isfinite(b.y) && std::isfinite(b.z);
    if (!finite) {
        // Infinities and NaN break the monotonic rounding the pruning relies on; such a segment is rare.
        for (std::uint32_t i : order_) {
            if (visit(i)) return true;
        }
        return false;
    }
    return Walk([&](const Bounds& bounds) { return SegmentMayTouch(bounds, a, b); }, visit);
}

template <class Visit>
bool BoxTree::AnyOverlapping(const Bounds& region, Visit&& visit) const {
    return Walk([&](const Bounds& b) { return Touch(b, region); }, visit);
}

}  // namespace sandbox
