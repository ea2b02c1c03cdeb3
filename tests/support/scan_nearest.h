#pragma once

#include <functional>
#include <limits>
#include <vector>

#include "geometry/vec3.h"

namespace testing_support {

/// The plain nearest-node search the node index stands in for: the smallest float distance below the
/// float maximum among the nodes `accept` takes, the first index on a tie; -1 for none.
inline int ScanNearest(const std::vector<sandbox::Vec3>& nodes, sandbox::Vec3 p,
                       const std::function<bool(int)>& accept) {
    int best = -1;
    float bestDist = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const float d = Length(nodes[i] - p);
        if (d < bestDist && accept(static_cast<int>(i))) {
            bestDist = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

}  // namespace testing_support
