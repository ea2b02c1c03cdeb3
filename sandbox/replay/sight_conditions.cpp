#include "replay/sight_conditions.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sandbox {

namespace {

// The plugin's own numbers: it lists cops within this of the player, a helicopter's close range is
// fixed, the close range works only on about the same level, a cone this wide is no cone, and
// closer than this on the ground there is no direction to the player.
constexpr float kListRadius = 200.0f;
constexpr float kHeliCloseRange = 3.0f;
constexpr float kCloseMaxHeight = 4.0f;
constexpr float kAllRound = 359.0f;
constexpr float kSameSpot = 0.001f;

// The arithmetic is the plugin's, in floats and in the same order, so that a boundary falls the same
// way for both.
bool InsideCone(float heading, float cone, float dx, float dy) {
    const float s = std::sqrt(dx * dx + dy * dy);
    if (s <= kSameSpot) return true;
    const float dot = (dy * std::cos(heading) - dx * std::sin(heading)) / s;
    const float halfCone = cone * 0.5f * std::numbers::pi_v<float> / 180.0f;
    return !(std::cos(halfCone) > dot);
}

}  // namespace

std::optional<SightSettings> SightSettings::From(const std::vector<std::pair<std::string, double>>& record) {
    if (record.empty()) return std::nullopt;
    const auto value = [&](const char* key) {
        for (const auto& [name, v] : record) {
            if (name == key) return static_cast<float>(v);
        }
        return 0.0f;
    };
    SightSettings s;
    s.sightRange = value("SightRange");
    s.vehicleSightRange = value("VehicleSightRange");
    s.heliSightRange = value("HeliSightRange");
    s.sightAngle = value("SightAngle");
    s.vehicleSightAngle = value("VehicleSightAngle");
    s.heliSightAngle = value("HeliSightAngle");
    s.closeRange = value("CloseRange");
    s.closeRangeCar = value("CloseRangeCar");
    s.alertRangeBonus = value("AlertRangeBonus");
    s.alertAngleBonus = value("AlertAngleBonus");
    s.disguiseRange = value("DisguiseRange");
    return s;
}

bool CopView::AllRound() const { return !(cone < kAllRound); }

CopView ViewOf(const SightSettings& s, Seat seat, bool alert, bool unaware) {
    CopView view;
    switch (seat) {
        case Seat::foot: view = {s.sightRange, s.sightAngle, s.closeRange}; break;
        case Seat::car: view = {s.vehicleSightRange, s.vehicleSightAngle, s.closeRangeCar}; break;
        case Seat::heli: view = {s.heliSightRange, s.heliSightAngle, kHeliCloseRange}; break;
    }
    if (alert) {
        view.range += s.alertRangeBonus;
        view.cone += s.alertAngleBonus;
        view.alert = true;
    }
    if (unaware) view.range = std::min(s.disguiseRange * (seat == Seat::heli ? 2.0f : 1.0f), view.range);
    return view;
}

Unasked UnaskedCondition(const CopView& view, Vec3 cop, float heading, Vec3 player) {
    const float dx = player.x - cop.x;
    const float dy = player.y - cop.y;
    const float dz = player.z - cop.z;
    const float squared = dx * dx + dy * dy + dz * dz;
    if (squared > kListRadius * kListRadius) return Unasked::notListed;
    const float d = std::sqrt(squared);
    if (d > view.range) return Unasked::range;
    if (d < view.close && std::fabs(dz) < kCloseMaxHeight) return Unasked::closeRange;
    if (!view.AllRound() && !InsideCone(heading, view.cone, dx, dy)) return Unasked::cone;
    return Unasked::asks;
}

}  // namespace sandbox
