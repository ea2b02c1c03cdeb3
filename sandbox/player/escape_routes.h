#pragma once

#include <functional>
#include <vector>

#include "geometry/vec3.h"

namespace sandbox {

class PathNetwork;

/// The player's ways out along the path network from the node where he joins it. Each node has a
/// clearance (how far it keeps him from danger); a way is as clear as its least clear node after the
/// start, and to each node he takes the clearest way, the shortest of those.
class EscapeRoutes {
public:
    /// Plans the ways no longer than `longest` metres. `clearance(node)` is asked at most once a node.
    void Plan(const PathNetwork& network, int start, float longest,
              const std::function<float(int)>& clearance);
    /// Whether the last plan found a way to the node.
    bool Reaches(int node) const {
        return node >= 0 && static_cast<std::size_t>(node) < length_.size() &&
               length_[static_cast<std::size_t>(node)] >= 0.0f;
    }
    /// The clearance of the way to a reached node.
    float ClearanceTo(int node) const { return clear_[static_cast<std::size_t>(node)]; }
    /// Metres along the way to a reached node.
    float LengthTo(int node) const { return length_[static_cast<std::size_t>(node)]; }
    /// The nodes of the way to a reached node, from the start.
    std::vector<Vec3> WayTo(int node) const;

private:
    const PathNetwork* network_ = nullptr;
    std::vector<float> length_;  ///< per node; below 0 where no way was found
    std::vector<float> clear_;   ///< per node, the clearance of its way
    std::vector<int> previous_;  ///< per node, the node before it on its way; -1 at the start
};

}  // namespace sandbox
