#include "run/module_settings.h"

#include <cstdint>
#include <cstring>

#include "run/module_loader.h"

namespace sandbox {

namespace {

// The record's fields in order, each four bytes: a float or a 32-bit integer.
struct Field {
    const char* key;
    bool isFloat;
};
constexpr Field kFields[] = {
    {"SightRange", true},         {"VehicleSightRange", true},
    {"HeliSightRange", true},     {"CloseRange", true},
    {"CloseRangeCar", true},      {"SightAngle", true},
    {"VehicleSightAngle", true},  {"HeliSightAngle", true},
    {"AlertRangeBonus", true},    {"AlertAngleBonus", true},
    {"RadioRange", true},         {"RadioReachesCars", false},
    {"PursuitGraceMs", false},    {"CutPursuit", false},
    {"HeliSharesScene", false},   {"SearchRadius", true},
    {"DefendEnabled", false},     {"DefendDurationMs", false},
    {"DefendRange", true},        {"DefendShareRange", true},
    {"StandOffDist", true},       {"RunnerPercent", false},
    {"AimMinMs", false},          {"AimMaxMs", false},
    {"LookChance", false},        {"LookMinMs", false},
    {"LookMaxMs", false},         {"MinMovesBetweenPauses", false},
    {"WaypointArriveDist", true}, {"FootSearch", false},
    {"Pathfinding", false},       {"SnapToNodes", false},
    {"VehicleSearch", false},     {"VehicleArriveDist", true},
    {"VehicleStuckMs", false},    {"CarUnloadDist", true},
    {"HealCopCounter", false},    {"DisguiseEnabled", false},
    {"DisguiseRange", true},      {"ClearLawFlag", false},
    {"LawFlagMaxMs", false},      {"VehicleTracksPlayer", false},
    {"TrackError", true},         {"TrackRefreshMs", false},
    {"VehiclePlayerDist", true},  {"VehicleHaltMs", false},
    {"VehicleSpeed", true},       {"HeliSearch", false},
    {"HeliAltitude", true},       {"GunshotEnabled", false},
    {"GunshotRange", true},       {"SilencedRange", true},
    {"JogMoveState", false},      {"PedRangeMultiplier", true},
    {"FadeStars", false},         {"StarFadeAmount", true},
    {"StarFadeDelayMs", false},   {"StarFadeSpeedMs", false},
    {"FlashStars", false},        {"Log", false},
};

}  // namespace

std::vector<std::pair<std::string, double>> ModuleSettings(const LoadedModule& module) {
    std::vector<std::pair<std::string, double>> out;
    const auto* record = static_cast<const unsigned char*>(module.Symbol("cfg"));
    if (record == nullptr) return out;
    for (std::size_t i = 0; i < std::size(kFields); ++i) {
        double value = 0.0;
        if (kFields[i].isFloat) {
            float f = 0.0f;
            std::memcpy(&f, record + i * 4, 4);
            value = f;
        } else {
            std::int32_t n = 0;
            std::memcpy(&n, record + i * 4, 4);
            value = n;
        }
        out.emplace_back(kFields[i].key, value);
    }
    return out;
}

}  // namespace sandbox
