// docs/settings.md against the one table of keys: every key documented once, under the table's
// section, with the table's default, unit and bounds, and no key documented that the plugin does not
// read.

#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "tuning/setting_keys.h"

namespace {

struct DocumentedKey {
    std::string defaultText;  // the table's "default" cell, e.g. "45 m", "140°", "0.6"
    std::string clampText;    // its "clamp" cell, e.g. "at least 8", "—"
    std::string section;      // the heading it is under
    int rows = 0;
};

std::map<std::string, DocumentedKey> ReadDocumentedKeys() {
    std::ifstream in(std::string(VIGILOR_DOCS_DIR) + "/settings.md");
    EXPECT_TRUE(in) << "cannot read docs/settings.md";
    std::map<std::string, DocumentedKey> keys;
    // | `Key` | default | clamp | effect |
    const std::regex row(R"(^\| `(\w+)` \| ([^|]*?) \| ([^|]*?) \|)");
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        if (line.starts_with("## ")) section = line.substr(3);
        std::smatch m;
        if (!std::regex_search(line, m, row)) continue;
        DocumentedKey& key = keys[m[1]];
        key.defaultText = m[2];
        key.clampText = m[3];
        key.section = section;
        ++key.rows;
    }
    return keys;
}

// The default as the documentation writes it: the number, then " m" for metres and "°" for degrees.
std::string DocumentedDefault(const sandbox::SettingKey& key) {
    const Settings defaults;
    std::string text = sandbox::SettingValueText(key, defaults);
    const std::string unit = key.unit;
    if (unit == "m") text += " m";
    if (unit == "deg") text += "°";
    return text;
}

TEST(SettingsDocTest, EveryKeyIsDocumentedOnceWithItsDefaultAndUnit) {
    std::map<std::string, DocumentedKey> documented = ReadDocumentedKeys();
    for (const sandbox::SettingKey& key : sandbox::SettingKeys()) {
        SCOPED_TRACE(key.name);
        auto it = documented.find(key.name);
        ASSERT_NE(it, documented.end()) << "not in docs/settings.md";
        EXPECT_EQ(it->second.rows, 1);
        EXPECT_EQ(it->second.defaultText, DocumentedDefault(key));
        EXPECT_EQ(it->second.section, sandbox::SectionTitle(key.section));
        // A bound of the table is the clamp the docs name; a key without one has none, or one set by
        // another key.
        if (key.low || key.high) {
            EXPECT_EQ(it->second.clampText, sandbox::SettingRangeText(key));
        } else {
            EXPECT_TRUE(it->second.clampText == "—" || it->second.clampText.starts_with("at least `"))
                << it->second.clampText;
        }
        EXPECT_STRNE(key.meaning, "");
        documented.erase(it);
    }
    for (const auto& [name, key] : documented) ADD_FAILURE() << "documented but not read: " << name;
}

}  // namespace
