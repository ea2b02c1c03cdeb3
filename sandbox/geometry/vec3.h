#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace sandbox {

/// A point or direction in the sandbox world, in metres. Floats, like the host's own vectors.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    friend Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
    friend bool operator==(Vec3 a, Vec3 b) = default;
};

inline float Length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
inline float Length2D(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y); }

/// v rounded to a float, and beyond the floats' range their largest: defined for any v that is a number,
/// and never smaller for a larger v.
inline float ClampToFloat(double v) {
    constexpr double kMost = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(v, -kMost, kMost));
}

inline float Radians(float degrees) { return degrees * std::numbers::pi_v<float> / 180.0f; }

/// The host heading that faces along d: a heading h faces (-sin h, cos h).
inline float HeadingAlong(Vec3 d) { return std::atan2(-d.x, d.y); }

/// One level step of at most `step` metres from p towards `to`; `reached` when it gets there.
/// Towards a point that is not finite (or from one) there is no way to go: the step stays at p.
struct Step {
    Vec3 next;
    bool reached;
};
inline Step StepTowards(Vec3 p, Vec3 to, float step) {
    if (!std::isfinite(to.x) || !std::isfinite(to.y) || !std::isfinite(p.x) || !std::isfinite(p.y)) {
        return {p, false};
    }
    const Vec3 d = to - p;
    const float dist = Length2D(d);
    if (dist <= step) return {{to.x, to.y, p.z}, true};
    if (std::isinf(dist)) {
        // So far away that the squares overflow: the direction from both ends scaled down.
        constexpr float kScale = 0x1p-70f;
        const Vec3 small = to * kScale - p * kScale;
        const float smallDist = Length2D(small);
        return {p + Vec3{small.x / smallDist * step, small.y / smallDist * step, 0.0f}, false};
    }
    return {p + Vec3{d.x / dist * step, d.y / dist * step, 0.0f}, false};
}

}  // namespace sandbox
