#pragma once

#include <cstdint>
#include <vector>

#include "geometry/vec3.h"

namespace sandbox {

/// One line-of-sight question the plugin asked the host, with the answer it got.
struct SightQuery {
    Vec3 from;
    Vec3 to;
    bool clear = false;
    bool vehiclesBlock = false;  ///< whether the question counted vehicles as obstacles
};

/// What the host saw of the plugin's line-of-sight questions: a count always, their cost when
/// timed (benchmarks), and the questions themselves while kept (replays).
struct SightQueries {
    std::uint64_t calls = 0;
    std::uint64_t nanoseconds = 0;
    bool timed = false;
    bool kept = false;
    std::vector<SightQuery> recent;  ///< since the keeper last took them
};

}  // namespace sandbox
