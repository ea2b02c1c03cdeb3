#pragma once

// Readers of one JSON value each: every one checks the value and, when it is wrong, fails naming
// its path and what was expected there.

#include <cfloat>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "geometry/vec3.h"
#include "scenario/json_path.h"

namespace sandbox::loader {

/// Positions stay within this many metres of the origin on every axis: far enough for any map, near
/// enough that distances, grids and routes over them stay finite and small.
inline constexpr double kMaxCoordinate = 100000.0;

float ReadReal(const Json& value, const std::string& path, double lo = -FLT_MAX, double hi = FLT_MAX);
float ReadPositive(const Json& value, const std::string& path);
/// A whole number in [lo, hi]; 5000.0 counts as whole, 5000.5 does not.
int64_t ReadWhole(const Json& value, const std::string& path, int64_t lo, int64_t hi);
int ReadInt(const Json& value, const std::string& path, int64_t lo = 0,
            int64_t hi = std::numeric_limits<int32_t>::max());
/// Milliseconds: a whole number that fits the host clock.
uint32_t ReadMs(const Json& value, const std::string& path);
bool ReadBool(const Json& value, const std::string& path);
std::string ReadString(const Json& value, const std::string& path);
/// A non-empty id without control characters.
std::string ReadId(const Json& value, const std::string& path);
/// An array of exactly `count` numbers, each in [lo, hi].
std::vector<float> ReadNumbers(const Json& value, const std::string& path, std::size_t count,
                               double lo = -FLT_MAX, double hi = FLT_MAX);
/// A position: [x, y, z] in metres, each within kMaxCoordinate of the origin.
Vec3 ReadVec3(const Json& value, const std::string& path);
/// "driver" (kDriverSeat) or a passenger seat 0 to 7.
int ReadSeat(const Json& value, const std::string& path);

/// Adapters that give the ranged readers the (value, path) shape of the others.
inline auto Whole(int64_t lo = 0, int64_t hi = std::numeric_limits<int32_t>::max()) {
    return [lo, hi](const Json& value, const std::string& path) { return ReadInt(value, path, lo, hi); };
}

inline auto AtLeast(double lo) {
    return [lo](const Json& value, const std::string& path) { return ReadReal(value, path, lo); };
}

}  // namespace sandbox::loader
