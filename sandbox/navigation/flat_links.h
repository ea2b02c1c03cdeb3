#pragma once

#include <cstdint>
#include <vector>

namespace sandbox {

/// A network's links as one run per node, for the searches that walk them: node i's linked nodes are
/// `to` from start[i] up to start[i + 1], in ascending order, each with its length (metres) in `length`.
struct FlatLinks {
    std::vector<std::uint32_t> start;
    std::vector<int> to;
    std::vector<float> length;
};

}  // namespace sandbox
