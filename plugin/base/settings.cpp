#include "base/settings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/log.h"
#include "host/module_file.h"
#include "host/win32/private_profile.h"

Settings cfg;
char iniPath[260];
char logPath[260];

namespace {

constexpr const char* kSection = "Settings";

struct IntKey {
    const char* name;
    std::int32_t Settings::*field;
};
struct FloatKey {
    const char* name;
    float Settings::*field;
};

// Float keys in reading order, so that those still not finite after the clamps get their default.
constexpr int kMaxFloatKeys = 40;
float Settings::*floatsRead[kMaxFloatKeys];
int floatsReadCount = 0;

void Read(const IntKey& key) {
    if (iniPath[0] == '\0') return;
    std::int32_t& value = cfg.*key.field;
    value = static_cast<std::int32_t>(GetPrivateProfileIntA(kSection, key.name, value, iniPath));
}

void Read(const FloatKey& key) {
    if (iniPath[0] == '\0') return;
    float& value = cfg.*key.field;
    char fallback[32];
    char text[32];
    std::snprintf(fallback, sizeof fallback, "%g", static_cast<double>(value));
    GetPrivateProfileStringA(kSection, key.name, fallback, text, sizeof text, iniPath);
    value = static_cast<float>(std::atof(text));
    if (floatsReadCount < kMaxFloatKeys) floatsRead[floatsReadCount++] = key.field;
}

// "nan" or "inf" would slip past every clamp and reach host commands as coordinates. The clamps
// come first, so that a bounded key still takes its bound for a value beyond it.
void RestoreNonFiniteFloats() {
    const Settings defaults;
    for (int i = 0; i < floatsReadCount; ++i) {
        float& value = cfg.*floatsRead[i];
        if (!std::isfinite(value)) value = defaults.*floatsRead[i];
    }
    floatsReadCount = 0;
}

template <typename T>
T Clamp(T value, T low, T high) {
    return value < low ? low : (value > high ? high : value);
}

}  // namespace

void BuildPaths() {
    iniPath[0] = '\0';
    logPath[0] = '\0';
    char path[260] = {};
    // Without the whole module name there is no safe place for the files: a cut name may point into
    // another folder, where the log would overwrite somebody else's file. Defaults and no log then.
    if (!plugin::GetOwnModuleFileName(path, sizeof path)) return;
    // Only a dot in the file name itself starts the extension, not one in a folder name.
    char* name = path;
    for (char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') name = p + 1;
    }
    if (char* dot = std::strrchr(name, '.')) *dot = '\0';
    char iniFile[sizeof iniPath];
    char logFile[sizeof logPath];
    const int iniLength = std::snprintf(iniFile, sizeof iniFile, "%s.ini", path);
    const int logLength = std::snprintf(logFile, sizeof logFile, "%s.log", path);
    if (iniLength < 0 || logLength < 0 || iniLength >= static_cast<int>(sizeof iniFile) ||
        logLength >= static_cast<int>(sizeof logFile)) {
        return;
    }
    std::memcpy(iniPath, iniFile, sizeof iniFile);
    std::memcpy(logPath, logFile, sizeof logFile);
}

void ReadSettings() {
    Read(IntKey{"Log", &Settings::Log});
    TruncateLog();

    using S = Settings;
    Read(FloatKey{"SightRange", &S::SightRange});
    Read(FloatKey{"VehicleSightRange", &S::VehicleSightRange});
    Read(FloatKey{"HeliSightRange", &S::HeliSightRange});
    Read(FloatKey{"CloseRange", &S::CloseRange});
    Read(FloatKey{"SightAngle", &S::SightAngle});
    Read(FloatKey{"VehicleSightAngle", &S::VehicleSightAngle});
    Read(FloatKey{"HeliSightAngle", &S::HeliSightAngle});
    Read(FloatKey{"AlertRangeBonus", &S::AlertRangeBonus});
    Read(FloatKey{"AlertAngleBonus", &S::AlertAngleBonus});
    Read(FloatKey{"RadioRange", &S::RadioRange});
    Read(IntKey{"RadioReachesCars", &S::RadioReachesCars});
    Read(IntKey{"PursuitGraceMs", &S::PursuitGraceMs});
    Read(IntKey{"CutPursuit", &S::CutPursuit});
    Read(IntKey{"HeliSharesScene", &S::HeliSharesScene});
    Read(FloatKey{"SearchRadius", &S::SearchRadius});
    Read(FloatKey{"StandOffDist", &S::StandOffDist});
    Read(IntKey{"DefendEnabled", &S::DefendEnabled});
    Read(IntKey{"DefendDurationMs", &S::DefendDurationMs});
    Read(FloatKey{"DefendRange", &S::DefendRange});
    Read(FloatKey{"DefendShareRange", &S::DefendShareRange});
    Read(IntKey{"RunnerPercent", &S::RunnerPercent});
    Read(IntKey{"AimMinMs", &S::AimMinMs});
    Read(IntKey{"AimMaxMs", &S::AimMaxMs});
    if (cfg.AimMinMs <= 999) cfg.AimMinMs = 1000;
    if (cfg.AimMaxMs < cfg.AimMinMs) cfg.AimMaxMs = cfg.AimMinMs;
    Read(IntKey{"LookChance", &S::LookChance});
    Read(IntKey{"LookMinMs", &S::LookMinMs});
    Read(IntKey{"LookMaxMs", &S::LookMaxMs});
    Read(FloatKey{"WaypointArriveDist", &S::WaypointArriveDist});
    Read(FloatKey{"CloseRangeCar", &S::CloseRangeCar});
    Read(IntKey{"MinMovesBetweenPauses", &S::MinMovesBetweenPauses});
    Read(IntKey{"FootSearch", &S::FootSearch});
    Read(IntKey{"Pathfinding", &S::Pathfinding});
    Read(IntKey{"SnapToNodes", &S::SnapToNodes});
    Read(IntKey{"VehicleSearch", &S::VehicleSearch});
    Read(FloatKey{"VehicleArriveDist", &S::VehicleArriveDist});
    Read(IntKey{"VehicleStuckMs", &S::VehicleStuckMs});
    Read(IntKey{"VehicleTracksPlayer", &S::VehicleTracksPlayer});
    Read(IntKey{"ClearLawFlag", &S::ClearLawFlag});
    Read(IntKey{"DisguiseEnabled", &S::DisguiseEnabled});
    Read(FloatKey{"DisguiseRange", &S::DisguiseRange});
    Read(IntKey{"LawFlagMaxMs", &S::LawFlagMaxMs});
    Read(IntKey{"HealCopCounter", &S::HealCopCounter});
    Read(FloatKey{"CarUnloadDist", &S::CarUnloadDist});
    Read(FloatKey{"TrackError", &S::TrackError});
    Read(IntKey{"TrackRefreshMs", &S::TrackRefreshMs});
    Read(FloatKey{"VehiclePlayerDist", &S::VehiclePlayerDist});
    Read(IntKey{"VehicleHaltMs", &S::VehicleHaltMs});
    Read(FloatKey{"VehicleSpeed", &S::VehicleSpeed});
    Read(IntKey{"HeliSearch", &S::HeliSearch});
    Read(FloatKey{"HeliAltitude", &S::HeliAltitude});
    Read(IntKey{"JogMoveState", &S::JogMoveState});
    Read(FloatKey{"PedRangeMultiplier", &S::PedRangeMultiplier});
    Read(IntKey{"FadeStars", &S::FadeStars});
    Read(FloatKey{"StarFadeAmount", &S::StarFadeAmount});
    Read(IntKey{"StarFadeDelayMs", &S::StarFadeDelayMs});
    Read(IntKey{"StarFadeSpeedMs", &S::StarFadeSpeedMs});
    Read(IntKey{"FlashStars", &S::FlashStars});
    cfg.StarFadeAmount = Clamp(cfg.StarFadeAmount, 0.0f, 0.9f);
    if (cfg.StarFadeSpeedMs < 0) cfg.StarFadeSpeedMs = 0;
    Read(IntKey{"GunshotEnabled", &S::GunshotEnabled});
    Read(FloatKey{"GunshotRange", &S::GunshotRange});
    Read(FloatKey{"SilencedRange", &S::SilencedRange});

    if (cfg.SearchRadius < 8.0f) cfg.SearchRadius = 8.0f;
    if (cfg.StandOffDist < 0.0f) cfg.StandOffDist = 0.0f;
    if (cfg.LookMaxMs < cfg.LookMinMs) cfg.LookMaxMs = cfg.LookMinMs;
    cfg.JogMoveState = Clamp(cfg.JogMoveState, 4, 7);
    if (cfg.PedRangeMultiplier > 6.0f) cfg.PedRangeMultiplier = 6.0f;
    cfg.RunnerPercent = Clamp(cfg.RunnerPercent, 0, 100);
    RestoreNonFiniteFloats();

    LogLine("Vigilor v8 loaded | cutPursuit=%d footSearch=%d pathfinding=%d vehicleSearch=%d heliSearch=%d",
            cfg.CutPursuit, cfg.FootSearch, cfg.Pathfinding, cfg.VehicleSearch, cfg.HeliSearch);
}
