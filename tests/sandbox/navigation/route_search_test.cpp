// Routes are those of the plain method: the nearest node each end can see (asking every node, ties to
// the lower index), else the nearest node; then Dijkstra run to the end over every node, ties to the
// lower index. Walled yards, ends inside boxes or on their faces and roofs are all asked about.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <queue>
#include <random>
#include <set>
#include <vector>

#include "geometry/geometry.h"
#include "navigation/key_heap.h"
#include "navigation/path_network.h"
#include "support/scan_nearest.h"

namespace {

using sandbox::Geometry;
using sandbox::KeyHeap;
using sandbox::PathNetwork;
using sandbox::SolidBox;
using sandbox::Vec3;
using testing_support::ScanNearest;

const Vec3 kLift{0, 0, 0.5f};

int PlainJoin(const PathNetwork& network, const Geometry& g, Vec3 p) {
    const auto& nodes = network.Nodes();
    const int seen = ScanNearest(nodes, p, [&](int i) {
        return g.SegmentClear(p + kLift, nodes[static_cast<std::size_t>(i)] + kLift);
    });
    return seen >= 0 ? seen : ScanNearest(nodes, p, [](int) { return true; });
}

std::vector<Vec3> PlainRoute(const PathNetwork& network, const Geometry& g, Vec3 from, Vec3 to) {
    const auto& nodes = network.Nodes();
    const int start = PlainJoin(network, g, from);
    const int goal = PlainJoin(network, g, to);
    if (start < 0 || goal < 0 || start == goal) return {to};
    struct Item {
        float d;
        int i;
        bool operator>(const Item& o) const { return d > o.d || (d == o.d && i > o.i); }
    };
    std::vector<float> dist(nodes.size(), std::numeric_limits<float>::max());
    std::vector<int> previous(nodes.size(), -1);
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    dist[static_cast<std::size_t>(start)] = 0.0f;
    open.push({0.0f, start});
    while (!open.empty()) {
        const auto [d, i] = open.top();
        open.pop();
        if (d > dist[static_cast<std::size_t>(i)]) continue;
        for (const int j : network.Links()[static_cast<std::size_t>(i)]) {
            const auto at = static_cast<std::size_t>(j);
            const float nd = d + Length(nodes[at] - nodes[static_cast<std::size_t>(i)]);
            if (nd < dist[at]) {
                dist[at] = nd;
                previous[at] = i;
                open.push({nd, j});
            }
        }
    }
    if (previous[static_cast<std::size_t>(goal)] < 0) return {to};
    std::vector<Vec3> route{to};
    for (int i = goal; i >= 0; i = previous[static_cast<std::size_t>(i)])
        route.push_back(nodes[static_cast<std::size_t>(i)]);
    std::reverse(route.begin(), route.end());
    return route;
}

// A yard walled on all four sides, a few loose boxes on whole metres (so that their faces fall on
// grid lines and search points), and some thin walls.
std::vector<SolidBox> Town(std::mt19937& random) {
    std::uniform_int_distribution<int> at(-30, 30);
    std::uniform_int_distribution<int> size(1, 8);
    std::uniform_int_distribution<int> height(1, 12);
    std::vector<SolidBox> boxes;
    const float x = static_cast<float>(at(random)), y = static_cast<float>(at(random));
    boxes.push_back({"", {x, y, 0}, {x + 12, y + 0.5f, 4}});
    boxes.push_back({"", {x, y + 11.5f, 0}, {x + 12, y + 12, 4}});
    boxes.push_back({"", {x, y, 0}, {x + 0.5f, y + 12, 4}});
    boxes.push_back({"", {x + 11.5f, y, 0}, {x + 12, y + 12, 4}});
    for (int k = 0; k < 6; ++k) {
        const float bx = static_cast<float>(at(random)), by = static_cast<float>(at(random));
        const float top = static_cast<float>(height(random));
        if (k % 3 == 0) {
            boxes.push_back({"", {bx, by, 0}, {bx + 0.2f, by + static_cast<float>(size(random) * 3), top}});
        } else {
            boxes.push_back(
                {"",
                 {bx, by, 0},
                 {bx + static_cast<float>(size(random)), by + static_cast<float>(size(random)), top}});
        }
    }
    return boxes;
}

// Ends in the open, on lattice points (ties between nodes), inside boxes, on and just off their faces,
// and on their roofs.
Vec3 End(std::mt19937& random, const std::vector<SolidBox>& boxes) {
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_real_distribution<float> open(-45.0f, 45.0f);
    std::uniform_int_distribution<int> lattice(-9, 9);
    std::uniform_int_distribution<std::size_t> pick(0, boxes.size() - 1);
    std::uniform_real_distribution<float> share(0.0f, 1.0f);
    switch (kind(random)) {
        case 0: return {open(random), open(random), 0};
        case 1: return {static_cast<float>(lattice(random) * 5), static_cast<float>(lattice(random) * 5), 0};
        default: {
            const SolidBox& b = boxes[pick(random)];
            const float x = b.min.x + (b.max.x - b.min.x) * share(random);
            const float y = b.min.y + (b.max.y - b.min.y) * share(random);
            if (kind(random) == 0) return {x, y, b.max.z};          // a roof
            if (kind(random) == 0) return {b.min.x, y, 0};          // on a face
            if (kind(random) == 0) return {b.min.x - 0.01f, y, 0};  // just off it
            return {x, y, 0};
        }
    }
}

TEST(RouteSearchTest, RoutesMatchThePlainSearchInRandomTowns) {
    std::mt19937 random(5);
    for (int town = 0; town < 12; ++town) {
        Geometry g;
        g.SetBoxes(Town(random));
        std::vector<PathNetwork> networks;
        networks.push_back(PathNetwork::Grid(5, {-40, -40, 0}, {40, 40, 0}, g));
        std::uniform_real_distribution<float> scatter(-40.0f, 40.0f);
        std::vector<Vec3> points;
        for (int k = 0; k < 150; ++k) points.push_back({scatter(random), scatter(random), 0});
        networks.push_back(PathNetwork::Points(points, g));
        for (const PathNetwork& network : networks) {
            for (int n = 0; n < 60; ++n) {
                const Vec3 from = End(random, g.Boxes());
                const Vec3 to = End(random, g.Boxes());
                ASSERT_EQ(network.Route(from, to), PlainRoute(network, g, from, to))
                    << "town " << town << " from " << from.x << "," << from.y << "," << from.z << " to "
                    << to.x << "," << to.y << "," << to.z;
            }
        }
    }
}

TEST(RouteSearchTest, PointsInOrOnABoxAreThoseEverySegmentFromThemHits) {
    Geometry g;
    g.SetBoxes({{"", {0, 0, 0}, {2, 2, 2}}, {"", {5, 0, 0}, {5, 3, 1}}});
    const std::vector<Vec3> ends = {{10, 10, 0.5f}, {-3, 1, 3}, {1, -7, 1}, {5, 8, 0.2f}, {-1e30f, 0, 0}};
    for (const Vec3 p :
         {Vec3{1, 1, 1}, Vec3{0, 1, 1}, Vec3{2, 2, 2}, Vec3{5, 1, 0.5f}, Vec3{5, 3, 1}, Vec3{2.0001f, 1, 1},
          Vec3{1, 1, 2.0001f}, Vec3{4.9999f, 1, 0.5f}, Vec3{5, 3.0001f, 1}}) {
        bool allHit = true;
        for (const Vec3 b : ends) allHit = allHit && !g.SegmentClear(p, b);
        EXPECT_EQ(g.InOrOnBox(p), allHit) << p.x << "," << p.y << "," << p.z;
    }
}

// The search's heap pops what a sorted set would, with pushes and pops interleaved as a search makes
// them, keys near each other and far apart, runs of odd and even sizes, and after being cleared.
TEST(RouteSearchTest, KeyHeapPopsInTheOrderOfASortedSet) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> pushes(0, 3);
    std::uniform_int_distribution<std::uint64_t> near(0, 500);
    std::uniform_int_distribution<std::uint64_t> far(0, ~std::uint64_t{0});
    KeyHeap heap;
    for (int run = 0; run < 40; ++run) {
        heap.Clear();
        std::set<std::uint64_t> plain;
        const std::size_t length = 50 + static_cast<std::size_t>(run) * 13;
        const auto push = [&] {
            const std::uint64_t key = run % 2 == 0 ? near(random) : far(random);
            if (!plain.insert(key).second) return;  // a search pushes no key twice
            heap.Push(key);
        };
        for (std::size_t step = 0; step < length; ++step) {
            for (int k = pushes(random); k > 0; --k) push();
            if (plain.empty()) continue;
            ASSERT_FALSE(heap.Empty());
            ASSERT_EQ(heap.PopSmallest(), *plain.begin()) << "run " << run << " step " << step;
            plain.erase(plain.begin());
        }
        for (; !plain.empty(); plain.erase(plain.begin())) ASSERT_EQ(heap.PopSmallest(), *plain.begin());
        EXPECT_TRUE(heap.Empty());
    }
}

}  // namespace
