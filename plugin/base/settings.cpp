#include "base/settings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "base/log.h"
#include "host/module_file.h"
#include "host/win32/private_profile.h"

Settings cfg;
char iniPath[260];
char logPath[260];

namespace {

constexpr const char* kSection = "Settings";

void Read(const char* name, std::int32_t& value) {
    value = static_cast<std::int32_t>(GetPrivateProfileIntA(kSection, name, value, iniPath));
}

void Read(const char* name, float& value) {
    char fallback[32];
    char text[32];
    std::snprintf(fallback, sizeof fallback, "%g", static_cast<double>(value));
    GetPrivateProfileStringA(kSection, name, fallback, text, sizeof text, iniPath);
    value = static_cast<float>(std::atof(text));
}

// Log comes first: it decides whether the log is written at all, and the log is emptied before
// anything else is read.
void ReadAllButLog() {
#define VIGILOR_READ_SETTING(type, name, value, low, high, unit, section, meaning) \
    if (std::string_view(#name) != "Log") Read(#name, cfg.name);
    VIGILOR_SETTINGS(VIGILOR_READ_SETTING)
#undef VIGILOR_READ_SETTING
}

// "nan" or "inf" would slip past every clamp and reach host commands as coordinates. The clamps
// come first, so that a bounded key still takes its bound for a value beyond it.
void Restore(float& value, float fallback) {
    if (!std::isfinite(value)) value = fallback;
}
void Restore(std::int32_t&, std::int32_t) {}
void RestoreNonFiniteFloats() {
    const Settings defaults;
#define VIGILOR_RESTORE_SETTING(type, name, value, low, high, unit, section, meaning) \
    Restore(cfg.name, defaults.name);
    VIGILOR_SETTINGS(VIGILOR_RESTORE_SETTING)
#undef VIGILOR_RESTORE_SETTING
}

// The table's bounds. Not a number passes both, to be restored afterwards.
template <typename T>
void AtLeast(T& value, T low) {
    if (value < low) value = low;
}
template <typename T>
void AtLeast(T&, NoLimit) {}
template <typename T>
void AtMost(T& value, T high) {
    if (value > high) value = high;
}
template <typename T>
void AtMost(T&, NoLimit) {}
void ClampToTable() {
#define VIGILOR_CLAMP_SETTING(type, name, value, low, high, unit, section, meaning) \
    AtLeast<type>(cfg.name, low);                                                   \
    AtMost<type>(cfg.name, high);
    VIGILOR_SETTINGS(VIGILOR_CLAMP_SETTING)
#undef VIGILOR_CLAMP_SETTING
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
    if (iniPath[0] != '\0') Read("Log", cfg.Log);
    TruncateLog();
    if (iniPath[0] != '\0') ReadAllButLog();

    ClampToTable();
    // Bounds set by another key, once that key has its own.
    if (cfg.AimMaxMs < cfg.AimMinMs) cfg.AimMaxMs = cfg.AimMinMs;
    if (cfg.LookMaxMs < cfg.LookMinMs) cfg.LookMaxMs = cfg.LookMinMs;
    RestoreNonFiniteFloats();

    LogLine("Vigilor v8 loaded | cutPursuit=%d footSearch=%d pathfinding=%d vehicleSearch=%d heliSearch=%d",
            cfg.CutPursuit, cfg.FootSearch, cfg.Pathfinding, cfg.VehicleSearch, cfg.HeliSearch);
}
