#include "scenario/settings_section.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "scenario/value_readers.h"

namespace sandbox::loader {

namespace {

std::vector<Setting> ReadSettings(const Json& value, const std::string& path) {
    if (!value.is_object()) {
        Fail(path, "expected an object of key: number");
    }
    std::vector<Setting> settings;
    std::map<std::string, std::string> byFoldedKey;  // INI keys ignore case
    for (const auto& item : value.items()) {
        const std::string& key = item.key();
        std::string keyPath = ChildPath(path, key);
        // The key is written as "key=value" into the INI file; nothing may break that line apart.
        bool badKey = key.empty() || HasControlCharacter(key) || key.front() == ' ' || key.back() == ' ' ||
                      key.find_first_of("=[];#") != std::string::npos;
        if (badKey) {
            Fail(keyPath, "not usable as an INI key (no = [ ] ; # or control characters, no outer spaces)");
        }
        std::string folded = key;
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        if (auto [it, added] = byFoldedKey.emplace(folded, key); !added) {
            Fail(keyPath, "the same INI key as " + it->second + " (case does not count)");
        }
        const Json& number = item.value();
        if (!number.is_number()) {
            Fail(keyPath, "expected a number");
        }
        settings.push_back({key, number.get<double>(), number.is_number_integer(), number.dump()});
    }
    return settings;
}

}  // namespace

void ReadSettingsSection(const Fields& root, Scenario& scenario) {
    if (root.Has("settings") && root.Has("ini")) {
        Fail("ini", "give either settings or ini, not both");
    }
    if (const Json* settings = root.Optional("settings")) {
        scenario.settings = ReadSettings(*settings, "settings");
    }
    if (root.Has("ini")) {
        scenario.ini = root.Req("ini", ReadString);
    }
}

}  // namespace sandbox::loader
