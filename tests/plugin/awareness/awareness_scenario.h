#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include <sstream>

#include "scenario/log_pattern.h"
#include "support/module_session.h"
#include "support/plugin_run.h"

namespace awareness_test {

/// A wanted player at the origin, host police off (cops stay where the test puts them), 50 ms frames
/// so that awareness ticks fall every 150 ms. `rest` adds "peds", "vehicles", "world", "events".
inline std::string Scene(const std::string& rest, const std::string& settings = "", int durationMs = 400,
                         const std::string& player = R"({ "pos": [0, 0, 0], "wanted": 1 })") {
    return R"({ "name": "awareness", "frameMs": 50, "durationMs": )" + std::to_string(durationMs) +
           R"(, "host": { "pursuit": false }, "settings": { )" + settings + R"( }, "player": )" + player +
           (rest.empty() ? "" : ", " + rest) + " }";
}

/// One cop on foot at (x, y, z) facing `heading` degrees.
inline std::string Cop(const std::string& id, float x, float y, float z = 0.0f, float heading = 0.0f) {
    char text[200];
    std::snprintf(text, sizeof text, R"({ "id": "%s", "type": 6, "pos": [%g, %g, %g], "heading": %g })",
                  id.c_str(), static_cast<double>(x), static_cast<double>(y), static_cast<double>(z),
                  static_cast<double>(heading));
    return text;
}

/// A cop who never sees the player: stamped at the first tick (150 ms), he loses him at 3300 ms.
inline const std::string kLoneCop = R"("peds": [ )" + Cop("cop", 0, -20, 0, 180) + " ]";

/// The seeing count of the first summary line, or -1 without one.
inline int FirstSeeing(const testing_support::PluginRun& run) {
    for (const std::string& line : run.Lines()) {
        int total = 0;
        int seeing = 0;
        if (std::sscanf(line.c_str(), "cops: total=%d seeing=%d", &total, &seeing) == 2) return seeing;
    }
    return -1;
}

/// Whether a lone cop, as given, sees the player on the first tick.
inline bool Sees(const std::string& cop, const std::string& settings = "", const std::string& more = "",
                 const std::string& player = R"({ "pos": [0, 0, 0], "wanted": 1 })") {
    const auto run =
        testing_support::RunJson(Scene(R"("peds": [ )" + cop + " ]" + more, settings, 200, player));
    return FirstSeeing(run) == 1;
}

/// How many lines of a log file's text match the pattern.
inline int CountIn(const std::string& log, const std::string& pattern) {
    std::istringstream lines(log);
    int n = 0;
    for (std::string line; std::getline(lines, line);) n += sandbox::MatchesPattern(pattern, line) ? 1 : 0;
    return n;
}

/// A session stepped by hand in 50 ms frames, so that ticks fall at 150, 300, 450, ... ms.
class Session : public testing_support::ModuleSession {
public:
    explicit Session(const std::string& rest, const std::string& settings = "")
        : ModuleSession("[Settings]\n" + settings, Scene(rest)) {}
    void RunFor(std::uint32_t ms) { Frames(static_cast<int>(ms / 50), 50); }
    sandbox::Ped& Ped(const std::string& id) { return *World().FindPed(id); }
    int Count(const std::string& pattern) const { return CountIn(Log(), pattern); }

    /// Runs 50 ms frames until one more line matches; the clock then stands at that frame.
    bool RunUntil(const std::string& pattern, std::uint32_t limitMs = 20000) {
        const int before = Count(pattern);
        for (std::uint32_t ms = 0; ms < limitMs; ms += 50) {
            Frame(50);
            if (Count(pattern) > before) return true;
        }
        return false;
    }
    /// From a frame that ran a tick: ticks every 150 ms, the last one exactly `afterMs` (at least
    /// 150) after that frame. `beforeLast` runs just before the last one.
    void TickAfter(std::uint32_t afterMs, const std::function<void()>& beforeLast = {}) {
        for (; afterMs >= 300; afterMs -= 150) Frame(150);
        if (beforeLast) beforeLast();
        Frame(afterMs);
    }
};

/// A clock start far from the wrap whose first frame already ticks, as a start near the wrap does:
/// the ticks then fall at the same run times for both.
inline constexpr std::uint32_t kFarFromWrap = 1000000;

/// The scenario field that starts the clock at `startMs`, to go first in a session's `rest`.
inline std::string ClockStart(std::uint32_t startMs) {
    return R"("clockStartMs": )" + std::to_string(startMs) + ", ";
}

/// The start that puts the wrap 200 ms after `stampMs`, a time read on a clock started at
/// kFarFromWrap: the tick after the stamp runs before the wrap, every later one after it.
inline std::uint32_t WrapAfter(std::uint32_t stampMs) { return 0u - (stampMs - kFarFromWrap + 200u); }

/// One run of a time rule's case: the clock starts at `start`, the limit is met `shift` ms early
/// (-1), exactly (0) or late (1); returns whether the rule fired, and the stamp's time when asked.
using TimeCase = std::function<bool(std::uint32_t start, int shift, std::uint32_t* stampAt)>;

/// The case at, before and past its limit (`fires` for shift -1, 0, 1), with the clock far from the
/// wrap and again wrapping between the stamp and the check.
inline void ExpectTimeLimit(const TimeCase& run, const std::array<bool, 3>& fires) {
    std::uint32_t stamp = 0;
    run(kFarFromWrap, 0, &stamp);
    for (const std::uint32_t start : {kFarFromWrap, WrapAfter(stamp)}) {
        for (int shift = -1; shift <= 1; ++shift) {
            EXPECT_EQ(run(start, shift, nullptr), fires[static_cast<std::size_t>(shift + 1)])
                << "clock from " << start << ", limit met " << shift << " ms off";
        }
    }
}

}  // namespace awareness_test
