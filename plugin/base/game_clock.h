#pragma once

// Time tests on the host clock. It counts milliseconds in 32 bits and wraps every 49.7 days, so no
// time is ever compared with `<` or `>`: a stamp is compared through the unsigned time since it,
// a deadline through the signed time to it. A deadline of 0 means "none" wherever a record starts
// zeroed; DeadlineAfter never yields 0, so a real deadline is never mistaken for none.

#include <algorithm>
#include <cstdint>
#include <limits>

/// True when at least `ms` have passed from `stamp` to `now` (good for stamps up to 49.7 days old).
inline bool Elapsed(std::uint32_t now, std::uint32_t stamp, std::uint32_t ms) { return now - stamp >= ms; }

/// True when more than `ms` have passed from `stamp` to `now`.
inline bool ElapsedOver(std::uint32_t now, std::uint32_t stamp, std::uint32_t ms) { return now - stamp > ms; }

/// True when `now` is at or past `deadline` (good for deadlines within 24.8 days either side).
inline bool Reached(std::uint32_t now, std::uint32_t deadline) {
    return static_cast<std::int32_t>(now - deadline) >= 0;
}

/// True when `now` is strictly past `deadline`.
inline bool Passed(std::uint32_t now, std::uint32_t deadline) {
    return static_cast<std::int32_t>(now - deadline) > 0;
}

/// True while a deadline is set (not 0) and not yet reached.
inline bool Pending(std::uint32_t now, std::uint32_t deadline) {
    return deadline != 0 && !Reached(now, deadline);
}

/// The deadline `ms` after `now`. `ms` is held to 0 .. 24.8 days, the farthest a deadline can be
/// told from a past one, and a sum that lands on 0 moves to 1 so that it still counts as set.
inline std::uint32_t DeadlineAfter(std::uint32_t now, std::int64_t ms) {
    const std::int64_t held = std::clamp<std::int64_t>(ms, 0, std::numeric_limits<std::int32_t>::max());
    const std::uint32_t deadline = now + static_cast<std::uint32_t>(held);
    return deadline != 0 ? deadline : 1;
}
