// The boxes listed near each grid point decide a level segment between grid points, and whether a
// grid point is inside a box, exactly as a test of every box does, with boxes on the lines, ending on
// them, a hair away, and with tops or bottoms at the segments' height.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "geometry/geometry.h"
#include "navigation/grid_box_cells.h"

namespace {

using sandbox::Geometry;
using sandbox::GridBoxCells;
using sandbox::SolidBox;
using sandbox::Vec3;

std::vector<float> Lines(float first, float step, int count) {
    std::vector<float> lines;
    for (float v = first; static_cast<int>(lines.size()) < count; v += step) lines.push_back(v);
    return lines;
}

// A coordinate on a line, between two, or a float step or a fraction of a millimetre off a line.
float Edge(std::mt19937& random, const std::vector<float>& lines) {
    std::uniform_int_distribution<std::size_t> line(0, lines.size() - 1);
    std::uniform_int_distribution<int> kind(0, 4);
    const float at = lines[line(random)];
    switch (kind(random)) {
        case 0: return at;
        case 1: return std::nextafter(at, 1e9f);
        case 2: return std::nextafter(at, -1e9f);
        case 3: return at + 0.0004f;
        default: return at + (lines[1] - lines[0]) * 0.5f;
    }
}

// Boxes with edges on, near and between the lines, one a wall of no thickness, one standing at the
// segments' height z, tops at, just under and above it.
std::vector<SolidBox> RandomBoxes(std::mt19937& random, const std::vector<float>& xs,
                                  const std::vector<float>& ys, float z, int count) {
    std::vector<SolidBox> boxes;
    std::uniform_int_distribution<int> heights(0, 3);
    const float tops[] = {z, std::nextafter(z, 0.0f), 4.0f, 0.2f};
    for (int k = 0; k < count; ++k) {
        float x0 = Edge(random, xs), x1 = Edge(random, xs), y0 = Edge(random, ys), y1 = Edge(random, ys);
        if (k == 0) x1 = x0;
        const float bottom = k == 1 ? z : 0.0f;
        boxes.push_back({"",
                         {std::min(x0, x1), std::min(y0, y1), bottom},
                         {std::max(x0, x1), std::max(y0, y1), std::max(bottom, tops[heights(random)])}});
    }
    return boxes;
}

TEST(GridBoxCellsTest, MatchATestOfEveryBoxForEveryNearPair) {
    std::mt19937 random(3);
    const float z = 0.5f;
    for (const auto& [first, step] :
         {std::pair{0.0f, 5.0f}, std::pair{-21.3f, 2.5f}, std::pair{4093.7f, 5.0f}}) {
        const std::vector<float> xs = Lines(first, step, 9);
        const std::vector<float> ys = Lines(first * 0.5f, step, 7);
        for (int world = 0; world < 20; ++world) {
            Geometry g;
            g.SetBoxes(RandomBoxes(random, xs, ys, z, 5));
            GridBoxCells cells(xs, ys, z, 2e-4 * 2.0 * step + 1e-5, g.Boxes(), 1);
            for (std::size_t i0 = 0; i0 < xs.size(); ++i0) {
                for (std::size_t j0 = 0; j0 < ys.size(); ++j0) {
                    const Vec3 p{xs[i0], ys[j0], z};
                    ASSERT_EQ(cells.InsideBox(p, i0, j0), g.InsideBox(p)) << "world " << world;
                    for (std::size_t i1 = i0; i1 < std::min(xs.size(), i0 + 2); ++i1) {
                        for (std::size_t j1 = j0 > 0 ? j0 - 1 : 0; j1 < std::min(ys.size(), j0 + 2); ++j1) {
                            const Vec3 a{xs[i0], ys[j0], z};
                            const Vec3 b{xs[i1], ys[j1], z};
                            ASSERT_EQ(cells.SegmentClear(a, b, i0, j0, i1, j1), g.SegmentClear(a, b))
                                << "world " << world << " from " << i0 << "," << j0 << " to " << i1 << ","
                                << j1;
                            ASSERT_EQ(cells.SegmentClear(b, a, i1, j1, i0, j0), g.SegmentClear(b, a));
                        }
                    }
                }
            }
        }
    }
}

// A point said to be clear all round has every segment to the points within reach clear, in either
// direction; and in a sparse town most points are.
TEST(GridBoxCellsTest, ClearAroundHoldsForEverySegmentWithinReach) {
    std::mt19937 random(7);
    const float z = 0.5f;
    const std::vector<float> xs = Lines(-21.3f, 2.5f, 14);
    const std::vector<float> ys = Lines(4093.7f, 5.0f, 12);
    for (const std::size_t reach : {1u, 2u}) {
        std::size_t clear = 0;
        for (int world = 0; world < 30; ++world) {
            Geometry g;
            g.SetBoxes(RandomBoxes(random, xs, ys, z, 2));
            GridBoxCells cells(xs, ys, z, 2e-4 * 2.0 * 5.0 + 1e-5, g.Boxes(), reach);
            for (std::size_t i0 = 0; i0 < xs.size(); ++i0) {
                for (std::size_t j0 = 0; j0 < ys.size(); ++j0) {
                    if (!cells.ClearAround(i0, j0)) continue;
                    ++clear;
                    const Vec3 a{xs[i0], ys[j0], z};
                    for (std::size_t i1 = i0 > reach ? i0 - reach : 0;
                         i1 <= std::min(xs.size() - 1, i0 + reach); ++i1) {
                        for (std::size_t j1 = j0 > reach ? j0 - reach : 0;
                             j1 <= std::min(ys.size() - 1, j0 + reach); ++j1) {
                            const Vec3 b{xs[i1], ys[j1], z};
                            ASSERT_TRUE(g.SegmentClear(a, b) && g.SegmentClear(b, a))
                                << "reach " << reach << " world " << world << " from " << i0 << "," << j0
                                << " to " << i1 << "," << j1;
                        }
                    }
                }
            }
        }
        EXPECT_GT(clear, xs.size() * ys.size() * 30 / 4) << "reach " << reach;
    }
}

}  // namespace
