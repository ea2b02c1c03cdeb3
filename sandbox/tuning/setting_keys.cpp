#include "tuning/setting_keys.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace sandbox {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

SettingKey Int(const char* name, std::int32_t Settings::*field) { return {name, field, nullptr}; }
SettingKey Float(const char* name, float Settings::*field) { return {name, nullptr, field}; }

}  // namespace

double SettingKey::ValueIn(const Settings& record) const {
    return IsInteger() ? static_cast<double>(record.*intField) : static_cast<double>(record.*floatField);
}

const std::vector<SettingKey>& SettingKeys() {
    using S = Settings;
    static const std::vector<SettingKey> keys = {
        Float("SightRange", &S::SightRange),
        Float("VehicleSightRange", &S::VehicleSightRange),
        Float("HeliSightRange", &S::HeliSightRange),
        Float("CloseRange", &S::CloseRange),
        Float("CloseRangeCar", &S::CloseRangeCar),
        Float("SightAngle", &S::SightAngle),
        Float("VehicleSightAngle", &S::VehicleSightAngle),
        Float("HeliSightAngle", &S::HeliSightAngle),
        Float("AlertRangeBonus", &S::AlertRangeBonus),
        Float("AlertAngleBonus", &S::AlertAngleBonus),
        Float("RadioRange", &S::RadioRange),
        Int("RadioReachesCars", &S::RadioReachesCars),
        Int("PursuitGraceMs", &S::PursuitGraceMs),
        Int("CutPursuit", &S::CutPursuit),
        Int("HeliSharesScene", &S::HeliSharesScene),
        Float("SearchRadius", &S::SearchRadius),
        Int("DefendEnabled", &S::DefendEnabled),
        Int("DefendDurationMs", &S::DefendDurationMs),
        Float("DefendRange", &S::DefendRange),
        Float("DefendShareRange", &S::DefendShareRange),
        Float("StandOffDist", &S::StandOffDist),
        Int("RunnerPercent", &S::RunnerPercent),
        Int("AimMinMs", &S::AimMinMs),
        Int("AimMaxMs", &S::AimMaxMs),
        Int("LookChance", &S::LookChance),
        Int("LookMinMs", &S::LookMinMs),
        Int("LookMaxMs", &S::LookMaxMs),
        Int("MinMovesBetweenPauses", &S::MinMovesBetweenPauses),
        Float("WaypointArriveDist", &S::WaypointArriveDist),
        Int("FootSearch", &S::FootSearch),
        Int("Pathfinding", &S::Pathfinding),
        Int("SnapToNodes", &S::SnapToNodes),
        Int("VehicleSearch", &S::VehicleSearch),
        Float("VehicleArriveDist", &S::VehicleArriveDist),
        Int("VehicleStuckMs", &S::VehicleStuckMs),
        Float("CarUnloadDist", &S::CarUnloadDist),
        Int("HealCopCounter", &S::HealCopCounter),
        Int("DisguiseEnabled", &S::DisguiseEnabled),
        Float("DisguiseRange", &S::DisguiseRange),
        Int("ClearLawFlag", &S::ClearLawFlag),
        Int("LawFlagMaxMs", &S::LawFlagMaxMs),
        Int("VehicleTracksPlayer", &S::VehicleTracksPlayer),
        Float("TrackError", &S::TrackError),
        Int("TrackRefreshMs", &S::TrackRefreshMs),
        Float("VehiclePlayerDist", &S::VehiclePlayerDist),
        Int("VehicleHaltMs", &S::VehicleHaltMs),
        Float("VehicleSpeed", &S::VehicleSpeed),
        Int("HeliSearch", &S::HeliSearch),
        Float("HeliAltitude", &S::HeliAltitude),
        Int("GunshotEnabled", &S::GunshotEnabled),
        Float("GunshotRange", &S::GunshotRange),
        Float("SilencedRange", &S::SilencedRange),
        Int("JogMoveState", &S::JogMoveState),
        Float("PedRangeMultiplier", &S::PedRangeMultiplier),
        Int("FadeStars", &S::FadeStars),
        Float("StarFadeAmount", &S::StarFadeAmount),
        Int("StarFadeDelayMs", &S::StarFadeDelayMs),
        Int("StarFadeSpeedMs", &S::StarFadeSpeedMs),
        Int("FlashStars", &S::FlashStars),
        Int("Log", &S::Log),
    };
    return keys;
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replace = diagonal + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, replace});
        }
    }
    return row[b.size()];
}

const SettingKey* FindSettingKey(std::string_view name) {
    for (const SettingKey& key : SettingKeys()) {
        if (EditDistance(key.name, name) == 0) return &key;
    }
    return nullptr;
}

std::string NearestSettingKey(std::string_view name) {
    const SettingKey* best = &SettingKeys().front();
    std::size_t bestDistance = EditDistance(best->name, name);
    for (const SettingKey& key : SettingKeys()) {
        const std::size_t distance = EditDistance(key.name, name);
        if (distance < bestDistance) {
            best = &key;
            bestDistance = distance;
        }
    }
    return best->name;
}

std::string SettingValueText(const SettingKey& key, const Settings& record) {
    if (key.IsInteger()) return std::to_string(record.*key.intField);
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, record.*key.floatField).ptr;
    return std::string(text, end);
}

}  // namespace sandbox
