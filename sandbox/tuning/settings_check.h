#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/settings.h"
#include "tuning/setting_keys.h"

namespace sandbox {

/// One key as the plugin read it.
struct SettingRow {
    const SettingKey* key = nullptr;
    std::string value;         ///< what the module's record holds
    std::string defaultValue;  ///< the built-in default
    std::string source;        ///< "default", "ini:LINE" or "set"
};

/// Something in the settings that does not mean what its writer probably meant.
struct SettingProblem {
    std::string where;    ///< "ini:LINE" or "set" ("default" for a key clamped because of another)
    std::string key;      ///< the key or section as written
    std::string problem;  ///< "unknown key", "unknown section", "not a number", "clamped", "not finite"
    std::string detail;   ///< one phrase for a person
};

struct SettingsReport {
    std::vector<SettingRow> rows;  ///< every key, in record order
    std::vector<SettingProblem> problems;
};

/// One KEY=VALUE put in front of the INI file's own lines, and where it came from ("set", "overlay:LINE").
struct IniOverride {
    std::string key;
    std::string value;
    std::string where;
};

/// The INI text as Windows reads it, for the module's read-back: a UTF-8 byte-order mark is not
/// skipped but read as part of the first line, so a section header there is no header and that
/// section's keys keep their defaults. (The plugin's own reader in the sandbox skips it, as Wine does.)
std::optional<std::string> AsWindowsReadsIt(const std::optional<std::string>& text);

/// Reads the INI text (nullopt: no file) and the overrides (in order; the last of a key wins) the way
/// the plugin does, and compares that with the record the module itself ended up with, so that clamps
/// show as well.
SettingsReport CheckSettings(const std::optional<std::string>& iniText,
                             const std::vector<IniOverride>& overrides, const Settings& readBack);

/// The key lines of an INI file's first [Settings] section, as overrides labelled "PREFIX:LINE", and the
/// problems of its layout (other sections, lines outside any section, a byte-order mark).
struct IniOverlay {
    std::vector<IniOverride> overrides;
    std::vector<SettingProblem> problems;
};
IniOverlay ReadIniOverlay(std::string_view text, const std::string& prefix);

/// "ini:3: PursuitGrace: unknown key (nearest known key: PursuitGraceMs)"
std::string DescribeProblem(const SettingProblem& problem);

}  // namespace sandbox
