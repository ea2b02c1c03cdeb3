#include "tuning/commented_ini.h"

#include <string_view>

#include "tuning/setting_keys.h"

namespace sandbox {

namespace {

constexpr const char* kPreamble =
    "; vigilor.ini: the settings of the Vigilor police plugin.\n"
    ";\n"
    "; Keep this file beside vigilor.dll, under this name. The plugin reads it once, as the game\n"
    "; starts: edit a value, save, and start the game again. Every key below holds its default; a key\n"
    "; left out, or the whole file missing, keeps the default. Key and section names are matched\n"
    "; without regard to case. Lines that start with ';' are comments.\n"
    ";\n"
    "; To see what the plugin makes of the file (every value, misspelt keys, clamped values):\n"
    ";     vigilor-sandbox settings --ini vigilor.ini\n"
    "; docs/settings.md tells more of each key.\n"
    "\n"
    "[Settings]\n";

std::string KeyLines(const SettingKey& key, const Settings& defaults) {
    std::string text = "; " + std::string(key.meaning) + "\n; default " + SettingValueText(key, defaults);
    const std::string_view unit = key.unit;
    if (!unit.empty() && unit != "switch") text += " " + std::string(unit);
    text += "; range: " + SettingRangeText(key) + "\n";
    return text + key.name + "=" + SettingValueText(key, defaults) + "\n";
}

}  // namespace

std::string CommentedIni() {
    const Settings defaults;
    std::string text = kPreamble;
    // The sections in their order, which ends with the stars.
    for (int s = 0; s <= static_cast<int>(SettingSection::Stars); ++s) {
        const auto section = static_cast<SettingSection>(s);
        text += "\n; ---- " + std::string(SectionTitle(section)) + " ----\n";
        for (const SettingKey& key : SettingKeys()) {
            if (key.section == section) text += "\n" + KeyLines(key, defaults);
        }
    }
    return text;
}

}  // namespace sandbox
