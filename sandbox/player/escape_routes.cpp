#include "player/escape_routes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <tuple>

#include "navigation/path_network.h"

namespace sandbox {

void EscapeRoutes::Plan(const PathNetwork& network, int start, float longest,
                        const std::function<float(int)>& clearance) {
    network_ = &network;
    const std::size_t n = network.Nodes().size();
    constexpr float kUnasked = -std::numeric_limits<float>::infinity();
    length_.assign(n, -1.0f);
    clear_.assign(n, kUnasked);
    previous_.assign(n, -1);
    if (start < 0 || static_cast<std::size_t>(start) >= n) return;
    std::vector<float> own(n, std::numeric_limits<float>::quiet_NaN());
    const auto ownClearance = [&](int i) {
        float& c = own[static_cast<std::size_t>(i)];
        if (std::isnan(c)) c = clearance(i);
        return c;
    };
    // Best found so far per node: the clearest way, then the shortest; settled in that order, ties
    // to the lower index, so every library plans alike.
    std::vector<float> bestLength(n, -1.0f);
    using Key = std::tuple<float, float, int>;  // (-clearance, length, node)
    std::priority_queue<Key, std::vector<Key>, std::greater<>> open;
    const auto offer = [&](int node, float clear, float length, int from) {
        const auto i = static_cast<std::size_t>(node);
        if (bestLength[i] >= 0.0f && (clear < clear_[i] || (clear == clear_[i] && length >= bestLength[i])))
            return;
        clear_[i] = clear;
        bestLength[i] = length;
        previous_[i] = from;
        open.push({-clear, length, node});
    };
    offer(start, std::numeric_limits<float>::infinity(), 0.0f, -1);
    const auto& nodes = network.Nodes();
    const auto& links = network.Links();
    while (!open.empty()) {
        const auto [negClear, d, at] = open.top();
        open.pop();
        const auto a = static_cast<std::size_t>(at);
        if (length_[a] >= 0.0f || d != bestLength[a] || -negClear != clear_[a]) continue;
        length_[a] = d;
        for (int next : links[a]) {
            const auto b = static_cast<std::size_t>(next);
            if (length_[b] >= 0.0f) continue;
            const float way = d + Length(nodes[b] - nodes[a]);
            if (way <= longest) offer(next, std::min(clear_[a], ownClearance(next)), way, at);
        }
    }
}

std::vector<Vec3> EscapeRoutes::WayTo(int node) const {
    std::vector<Vec3> way;
    for (int i = node; i >= 0; i = previous_[static_cast<std::size_t>(i)])
        way.push_back(network_->Nodes()[static_cast<std::size_t>(i)]);
    std::reverse(way.begin(), way.end());
    return way;
}

}  // namespace sandbox
