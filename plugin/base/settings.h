#pragma once

#include <cstdint>

#include "base/export.h"
#include "base/setting_table.h"

/// Every option of the plugin, one field per INI key, in record order (units and meanings in
/// setting_table.h). Read once on the first frame.
struct Settings {
#define VIGILOR_SETTING_FIELD(type, name, value, low, high, unit, section, meaning) type name = value;
    VIGILOR_SETTINGS(VIGILOR_SETTING_FIELD)
#undef VIGILOR_SETTING_FIELD
};

/// The settings in force.
VIGILOR_EXPORT extern Settings cfg;

extern char iniPath[260];
extern char logPath[260];

/// Derives the INI and log paths from the module's own file path.
void BuildPaths();
/// Reads Log, empties the log file, reads every other key, clamps, and logs the banner.
void ReadSettings();
