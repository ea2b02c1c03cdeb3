#pragma once

// The sandbox's own timers on the host clock, which wraps every 49.7 days: an end is compared
// through the signed time to it, never with `<`. An end of 0 means "no end" (until flushed, until
// replaced), so a timer's end is never allowed to be 0 itself.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace sandbox {

/// The end of a timer that runs `ms` from `now`. `ms` is held to 0 .. 24.8 days, the farthest an
/// end can be told from a past one; an end that lands on 0 moves to 1.
inline std::uint32_t EndAfter(std::uint32_t now, std::int64_t ms) {
    const std::int64_t held = std::clamp<std::int64_t>(ms, 0, std::numeric_limits<std::int32_t>::max());
    const std::uint32_t end = now + static_cast<std::uint32_t>(held);
    return end != 0 ? end : 1;
}

/// True while a timer has an end (not 0) that `now` has not reached.
inline bool Running(std::uint32_t now, std::uint32_t end) {
    return end != 0 && static_cast<std::int32_t>(now - end) < 0;
}

/// True when a timer has an end (not 0) and `now` is at or past it.
inline bool Ended(std::uint32_t now, std::uint32_t end) { return end != 0 && !Running(now, end); }

}  // namespace sandbox
