#include "world/box_tree.h"

#include <algorithm>
#include <numeric>

#include "world/geometry.h"

namespace sandbox {

namespace {

constexpr std::uint32_t kLeafBoxes = 4;

float Centre(const Bounds& b, int axis) {
    switch (axis) {
        case 0: return b.min.x + b.max.x;
        case 1: return b.min.y + b.max.y;
        default: return b.min.z + b.max.z;
    }
}

Bounds Enclose(Bounds a, const Bounds& b) {
    a.min = {std::min(a.min.x, b.min.x), std::min(a.min.y, b.min.y), std::min(a.min.z, b.min.z)};
    a.max = {std::max(a.max.x, b.max.x), std::max(a.max.y, b.max.y), std::max(a.max.z, b.max.z)};
    return a;
}

}  // namespace

BoxTree::BoxTree(const std::vector<Bounds>& boxes) {
    if (boxes.empty()) return;
    order_.resize(boxes.size());
    std::iota(order_.begin(), order_.end(), 0u);
    nodes_.reserve(2 * boxes.size());
    Build(0, static_cast<std::uint32_t>(boxes.size()), boxes);
}

// Splits at the median along the widest spread of centres, so the depth stays logarithmic.
std::uint32_t BoxTree::Build(std::uint32_t first, std::uint32_t count, const std::vector<Bounds>& boxes) {
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    Bounds all = boxes[order_[first]];
    for (std::uint32_t k = first + 1; k < first + count; ++k) all = Enclose(all, boxes[order_[k]]);
    nodes_.push_back({all, first, count});
    if (count <= kLeafBoxes) return index;

    int axis = 0;
    float widest = -1.0f;
    for (int a = 0; a < 3; ++a) {
        const auto [lo, hi] = std::minmax_element(
            order_.begin() + first, order_.begin() + first + count,
            [&](std::uint32_t i, std::uint32_t j) { return Centre(boxes[i], a) < Centre(boxes[j], a); });
        const float spread = Centre(boxes[*hi], a) - Centre(boxes[*lo], a);
        if (spread > widest) {
            widest = spread;
            axis = a;
        }
    }
    const std::uint32_t half = count / 2;
    std::nth_element(order_.begin() + first, order_.begin() + first + half, order_.begin() + first + count,
                     [&](std::uint32_t i, std::uint32_t j) {
                         const float ci = Centre(boxes[i], axis);
                         const float cj = Centre(boxes[j], axis);
                         return ci < cj || (ci == cj && i < j);
                     });
    Build(first, half, boxes);
    const std::uint32_t right = Build(first + half, count - half, boxes);
    nodes_[index].first = right;
    nodes_[index].count = 0;
    return index;
}

bool BoxTree::SegmentMayTouch(const Bounds& bounds, Vec3 a, Vec3 b) {
    return SegmentHitsBox(a, b, bounds.min, bounds.max);
}

}  // namespace sandbox
