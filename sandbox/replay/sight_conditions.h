#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "geometry/vec3.h"

namespace sandbox {

// The plugin asks the host only for the line of sight; how far a cop sees, whether the player is
// close enough to be noticed without a look, and whether he stands inside the cop's view cone it
// decides itself. The replay knows those only by working them out again, here and nowhere else, the
// way the plugin takes them, with the settings the module holds.

/// The sight settings as the module holds them (metres, degrees).
struct SightSettings {
    float sightRange = 0, vehicleSightRange = 0, heliSightRange = 0;
    float sightAngle = 0, vehicleSightAngle = 0, heliSightAngle = 0;
    float closeRange = 0, closeRangeCar = 0;
    float alertRangeBonus = 0, alertAngleBonus = 0;
    float disguiseRange = 0;

    /// From the module's settings record by key; none when the module exports no record.
    static std::optional<SightSettings> From(const std::vector<std::pair<std::string, double>>& record);
};

/// Where the cop sits: each has its own range, cone and close range.
enum class Seat { foot, car, heli };

/// What one cop's sight test takes.
struct CopView {
    float range = 0;  ///< metres
    float cone = 0;   ///< degrees, the full cone
    float close = 0;  ///< metres; closer (and about level) he notices the player without a look
    bool alert = false;
    /// Whether the cone is wide enough for the plugin to take no angle test at all.
    bool AllRound() const;
    bool operator==(const CopView&) const = default;
};

/// His view with the alert bonuses while `alert`, and cut to the disguise range when `unaware` (the
/// player is disguised and the cop is not in the know).
CopView ViewOf(const SightSettings& settings, Seat seat, bool alert, bool unaware);

/// The conditions the plugin takes before it asks the host, in its order: whether the cop is listed
/// at all, his range, the close range (he sees), his cone; `asks` when all of them let him look.
enum class Unasked { notListed, range, closeRange, cone, asks };

/// `heading`: radians, of his vehicle when he sits in one.
Unasked UnaskedCondition(const CopView& view, Vec3 cop, float heading, Vec3 player);

}  // namespace sandbox
