// The indexed world queries answer exactly as a test of every box would, touching edges included.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "geometry/geometry.h"

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

// The highest top over the point; among equal tops (0 and -0) the ground's own, then the first box's.
float PlainGroundZ(const Geometry& g, float x, float y) {
    float z = g.groundZ;
    for (const SolidBox& box : g.Boxes()) {
        if (x >= box.min.x && x <= box.max.x && y >= box.min.y && y <= box.max.y && box.max.z > z)
            z = box.max.z;
    }
    return z;
}

bool PlainInside(const Geometry& g, Vec3 p) {
    return std::any_of(g.Boxes().begin(), g.Boxes().end(), [&](const SolidBox& box) {
        return p.x > box.min.x && p.x < box.max.x && p.y > box.min.y && p.y < box.max.y && p.z >= box.min.z &&
               p.z < box.max.z;
    });
}

bool PlainInOrOn(const Geometry& g, Vec3 p) {
    return std::any_of(g.Boxes().begin(), g.Boxes().end(), [&](const SolidBox& box) {
        return p.x >= box.min.x && p.x <= box.max.x && p.y >= box.min.y && p.y <= box.max.y &&
               p.z >= box.min.z && p.z <= box.max.z;
    });
}

bool PlainClear(const Geometry& g, Vec3 a, Vec3 b) {
    return std::none_of(g.Boxes().begin(), g.Boxes().end(),
                        [&](const SolidBox& box) { return sandbox::SegmentHitsBox(a, b, box.min, box.max); });
}

// Every segment query against a test of every box: the answer, the blocker it leaves, and the boxes
// the walk hands over (each hit box among them, none twice).
void ExpectSegmentAnswers(const Geometry& g, Vec3 a, Vec3 b, std::mt19937& random) {
    const auto& boxes = g.Boxes();
    const bool clear = PlainClear(g, a, b);
    ASSERT_EQ(g.SegmentClear(a, b), clear)
        << a.x << "," << a.y << "," << a.z << " to " << b.x << "," << b.y << "," << b.z;
    // A remembered blocker (right, wrong, stale or none) changes only the order of the tests, and
    // what it is left holding blocks the segment.
    std::uint32_t blocker = static_cast<std::uint32_t>(random() % (boxes.size() + 2));
    ASSERT_EQ(g.SegmentClear(a, b, blocker), clear);
    if (!clear) {
        ASSERT_LT(blocker, boxes.size());
        ASSERT_TRUE(sandbox::SegmentHitsBox(a, b, boxes[blocker].min, boxes[blocker].max));
    }
    std::vector<int> handed(boxes.size(), 0);
    g.ForEachOnSegment(a, b, [&](std::uint32_t i) { ++handed[i]; });
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        ASSERT_LE(handed[i], 1) << "box " << i;
        if (sandbox::SegmentHitsBox(a, b, boxes[i].min, boxes[i].max)) {
            ASSERT_EQ(handed[i], 1) << "box " << i;
        }
    }
}

TEST(GeometryIndexTest, SegmentGroundAndInsideMatchATestOfEveryBox) {
    std::mt19937 random(7);
    for (const int count : {0, 1, 5, 60, 300}) {
        Geometry g;
        g.groundZ = 0.5f;
        g.SetBoxes(Town(random, count));
        for (int n = 0; n < 3000; ++n) {
            const Vec3 a = Point(random);
            Vec3 b = Point(random);
            if (n % 4 == 0) b.y = a.y;  // along an axis
            ASSERT_NO_FATAL_FAILURE(ExpectSegmentAnswers(g, a, b, random))
                << count << " boxes, segment " << n;

            ASSERT_EQ(g.GroundZ(a.x, a.y), PlainGroundZ(g, a.x, a.y)) << count << " boxes, point " << n;
            ASSERT_EQ(g.InsideBox(a), PlainInside(g, a)) << count << " boxes, point " << n;
            ASSERT_EQ(g.InOrOnBox(a), PlainInOrOn(g, a)) << count << " boxes, point " << n;
        }
    }
}

// Towns 768 m across, a whole number of cells of each grid the queries keep (12 and 64 across), so
// that lattice segments run along and end on cell borders; with upright, empty and far-off segments,
// and ones that pass a float step beside a box's face.
TEST(GeometryIndexTest, SegmentsOnCellBordersUprightEmptyAndFarOffMatchATestOfEveryBox) {
    std::mt19937 random(19);
    std::uniform_int_distribution<int> lattice(-40, 232);
    const auto onLattice = [&] {
        return Vec3{static_cast<float>(lattice(random)), static_cast<float>(lattice(random)),
                    static_cast<float>(lattice(random) % 6)};
    };
    for (int town = 0; town < 20; ++town) {
        std::vector<SolidBox> boxes = Town(random, 40);
        for (SolidBox& box : boxes) {
            box.min = Vec3{box.min.x + 40, box.min.y + 40, 0} * 8.0f + Vec3{0, 0, box.min.z};
            box.max = Vec3{box.max.x + 40, box.max.y + 40, 0} * 8.0f + Vec3{0, 0, box.max.z};
        }
        boxes.push_back({"sw", {0, 0, 0}, {16, 16, 3}});
        boxes.push_back({"ne", {752, 752, 0}, {768, 768, 3}});
        // East and north faces a float step short of a cell border: a point just past them lies in
        // the next cell.
        boxes.push_back(
            {"hair", {500, 500, 0}, {std::nextafter(512.0f, 0.0f), std::nextafter(512.0f, 0.0f), 3}});
        Geometry g;
        g.SetBoxes(boxes);
        for (int n = 0; n < 2000; ++n) {
            Vec3 a = onLattice() * 4.0f;
            Vec3 b = onLattice() * 4.0f;
            const SolidBox& box = boxes[random() % boxes.size()];
            switch (n % 10) {
                case 0: b.x = a.x; break;                         // along a column border
                case 1: b.y = a.y; break;                         // along a row border
                case 2: b = {a.x, a.y, a.z + 7.0f}; break;        // upright
                case 3: b = a; break;                             // empty
                case 4: a = a * 40.0f; break;                     // from far off the grid
                case 5: a.x = std::nextafter(a.x, 1e9f); break;   // a float step off a face
                case 6: b.y = std::nextafter(b.y, -1e9f); break;  // and the other way
                case 7: {
                    // A float step short of a face, from afar: the exact test's rounding may call it a
                    // hit. From the west to the west face, or from the east to the east face.
                    const bool west = n % 20 < 10;
                    const float face = west ? box.min.x : box.max.x;
                    b = {std::nextafter(face, west ? -1e9f : 1e9f), (box.min.y + box.max.y) * 0.5f,
                         box.min.z};
                    a = {b.x + (west ? -1000.3f : 1000.3f), b.y + static_cast<float>(n % 3), b.z};
                    break;
                }
                case 8: {
                    const bool south = n % 20 < 10;  // the same from the south or the north
                    const float face = south ? box.min.y : box.max.y;
                    b = {(box.min.x + box.max.x) * 0.5f, std::nextafter(face, south ? -1e9f : 1e9f),
                         box.max.z};
                    a = {b.x + static_cast<float>(n % 5), b.y + (south ? -777.7f : 777.7f), b.z};
                    break;
                }
                default: a = a * 1e36f; break;  // so far that the sums overflow
            }
            ASSERT_NO_FATAL_FAILURE(ExpectSegmentAnswers(g, a, b, random))
                << "town " << town << ", segment " << n;
        }
    }
}

TEST(GeometryIndexTest, PointsOutsideTheTownAndNotFiniteMatchATestOfEveryBox) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::mt19937 random(11);
    std::vector<SolidBox> boxes = Town(random, 40);
    boxes.push_back({"flat", {3, 3, 0}, {3, 9, 4}});           // no width: only its edge line holds a point
    boxes.push_back({"endless", {-inf, -1, 0}, {-30, 1, 9}});  // reaches out of the town for ever
    boxes.push_back({"roof", {-4, -4, -1}, {4, 4, -0.0f}});    // tops of -0 and 0: the first box's wins
    boxes.push_back({"deck", {-6, -2, -1}, {0, 2, 0.0f}});
    Geometry g;
    g.groundZ = -1.0f;
    g.SetBoxes(boxes);
    const float odd[] = {nan, inf, -inf, -1e30f, 1e30f, -200.0f, 200.0f, -40.0f, 52.0f, 3.0f, -30.0f, 0.0f};
    for (const float x : odd) {
        for (const float y : odd) {
            const Vec3 p{x, y, 1.0f};
            EXPECT_EQ(g.GroundZ(x, y), PlainGroundZ(g, x, y)) << x << ", " << y;
            EXPECT_EQ(g.InsideBox(p), PlainInside(g, p)) << x << ", " << y;
        }
    }
    for (int n = 0; n < 3000; ++n) {
        const Vec3 p = Point(random) * 1.5f;
        ASSERT_EQ(g.GroundZ(p.x, p.y), PlainGroundZ(g, p.x, p.y)) << p.x << ", " << p.y;
        ASSERT_EQ(g.InsideBox(p), PlainInside(g, p)) << p.x << ", " << p.y << ", " << p.z;
    }
    EXPECT_EQ(g.GroundZ(-1e30f, 0.0f), 9.0f);
    EXPECT_EQ(g.GroundZ(3.0f, 8.0f), PlainGroundZ(g, 3.0f, 8.0f));

    // The far edges of the town: a point on them belongs to the last cells, not past them.
    Geometry edges;
    edges.SetBoxes({{"east", {60, 0, 0}, {64, 1, 3}}, {"west", {0, 0, 0}, {1, 64, 5}}});
    EXPECT_EQ(edges.GroundZ(64, 0.5f), 3.0f);
    EXPECT_EQ(edges.GroundZ(0.5f, 64), 5.0f);
    EXPECT_TRUE(edges.InsideBox({63.5f, 0.5f, 1}));

    // Equal tops of -0 and 0: the first box's counts, whichever is listed first.
    Geometry ties;
    ties.groundZ = -1.0f;
    ties.SetBoxes({{"deck", {-6, -2, -1}, {0, 2, 0.0f}}, {"roof", {-4, -4, -1}, {4, 4, -0.0f}}});
    EXPECT_FALSE(std::signbit(ties.GroundZ(-1, 0)));
    ties.SetBoxes({{"roof", {-4, -4, -1}, {4, 4, -0.0f}}, {"deck", {-6, -2, -1}, {0, 2, 0.0f}}});
    EXPECT_TRUE(std::signbit(ties.GroundZ(-1, 0)));

    // One box of no extent at all, and none: a single cell holds everything.
    Geometry point;
    point.SetBoxes({{"post", {1, 1, 0}, {1, 1, 2}}});
    EXPECT_EQ(point.GroundZ(1, 1), 2.0f);
    EXPECT_EQ(point.GroundZ(1, 1.0001f), 0.0f);
    Geometry none;
    EXPECT_EQ(none.GroundZ(1, 1), 0.0f);
    EXPECT_FALSE(none.InsideBox({1, 1, 1}));
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
