// The indexed world queries answer exactly as a test of every box would, touching edges included.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "world/geometry.h"

namespace {

using sandbox::Geometry;
using sandbox::SolidBox;
using sandbox::Vec3;

// Boxes on a coarse lattice, so that segments and points often run along or end on their faces.
std::vector<SolidBox> Town(std::mt19937& random, int count) {
    std::uniform_int_distribution<int> at(-20, 20);
    std::uniform_int_distribution<int> size(1, 6);
    std::vector<SolidBox> boxes;
    for (int i = 0; i < count; ++i) {
        const Vec3 min{static_cast<float>(at(random) * 2), static_cast<float>(at(random) * 2),
                       static_cast<float>(at(random) % 3)};
        boxes.push_back({"", min,
                         min + Vec3{static_cast<float>(size(random) * 2),
                                    static_cast<float>(size(random) * 2), static_cast<float>(size(random))}});
    }
    return boxes;
}

Vec3 Point(std::mt19937& random) {
    std::uniform_int_distribution<int> lattice(-50, 50);
    std::uniform_real_distribution<float> anywhere(-50.0f, 50.0f);
    const auto coord = [&] {
        return random() % 2 == 0 ? static_cast<float>(lattice(random)) : anywhere(random);
    };
    return {coord(), coord(), static_cast<float>(lattice(random) % 8)};
}

TEST(GeometryIndexTest, SegmentGroundAndInsideMatchATestOfEveryBox) {
    std::mt19937 random(7);
    for (const int count : {0, 1, 5, 60, 300}) {
        Geometry g;
        g.groundZ = 0.5f;
        g.SetBoxes(Town(random, count));
        const auto& boxes = g.Boxes();
        for (int n = 0; n < 3000; ++n) {
            const Vec3 a = Point(random);
            Vec3 b = Point(random);
            if (n % 4 == 0) b.y = a.y;  // along an axis
            const bool clear = std::none_of(boxes.begin(), boxes.end(), [&](const SolidBox& box) {
                return sandbox::SegmentHitsBox(a, b, box.min, box.max);
            });
            ASSERT_EQ(g.SegmentClear(a, b), clear) << count << " boxes, segment " << n;
            // A remembered blocker (right, wrong, stale or none) changes only the order of the tests,
            // and what it is left holding blocks the segment.
            std::uint32_t blocker = static_cast<std::uint32_t>(random() % (boxes.size() + 2));
            ASSERT_EQ(g.SegmentClear(a, b, blocker), clear) << count << " boxes, segment " << n;
            if (!clear) {
                ASSERT_LT(blocker, boxes.size());
                ASSERT_TRUE(sandbox::SegmentHitsBox(a, b, boxes[blocker].min, boxes[blocker].max));
            }

            float ground = g.groundZ;
            bool inside = false;
            for (const SolidBox& box : boxes) {
                if (a.x >= box.min.x && a.x <= box.max.x && a.y >= box.min.y && a.y <= box.max.y) {
                    ground = std::max(ground, box.max.z);
                }
                inside = inside || (a.x > box.min.x && a.x < box.max.x && a.y > box.min.y &&
                                    a.y < box.max.y && a.z >= box.min.z && a.z < box.max.z);
            }
            ASSERT_EQ(g.GroundZ(a.x, a.y), ground) << count << " boxes, point " << n;
            ASSERT_EQ(g.InsideBox(a), inside) << count << " boxes, point " << n;
        }
    }
}

TEST(GeometryIndexTest, BoxesAddedLaterAndNonFiniteSegmentsCount) {
    Geometry g;
    g.SetBoxes({{"a", {0, 0, 0}, {2, 2, 2}}});
    const Vec3 from{5, 1, 1};
    const Vec3 to{10, 1, 1};
    EXPECT_TRUE(g.SegmentClear(from, to));
    g.AddBox({"b", {7, 0, 0}, {8, 2, 2}});
    EXPECT_FALSE(g.SegmentClear(from, to));
    EXPECT_EQ(g.GroundZ(7.5f, 1), 2.0f);
    // An infinite end still meets the boxes on its way, as a test of every box finds.
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(g.SegmentClear({-5, 1, 1}, {inf, 1, 1}),
              !sandbox::SegmentHitsBox({-5, 1, 1}, {inf, 1, 1}, {0, 0, 0}, {2, 2, 2}) &&
                  !sandbox::SegmentHitsBox({-5, 1, 1}, {inf, 1, 1}, {7, 0, 0}, {8, 2, 2}));
}

}  // namespace
