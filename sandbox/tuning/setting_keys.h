#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings.h"

namespace sandbox {

/// One INI key of the plugin and the field of its settings record that holds it.
struct SettingKey {
    const char* name;
    std::int32_t Settings::*intField = nullptr;  ///< set for whole-number keys
    float Settings::*floatField = nullptr;       ///< set for decimal keys
    std::optional<double> low;                   ///< the reader clamps a value below this to it
    std::optional<double> high;                  ///< and one above this
    const char* unit = "";                       ///< "m", "deg", "ms", "%", "switch" or ""
    SettingSection section = SettingSection::General;
    const char* meaning = "";  ///< what the key does, in a few words

    bool IsInteger() const { return intField != nullptr; }
    /// The field's value in a record, as a number.
    double ValueIn(const Settings& record) const;
};

/// Every key the plugin reads, in the order of its settings record.
const std::vector<SettingKey>& SettingKeys();

/// The same key name: equal but for case, as the reader matches names.
bool SameKeyName(std::string_view a, std::string_view b);

/// The key of that name (matched without regard to case, as the reader does), or null.
const SettingKey* FindSettingKey(std::string_view name);

/// The known key closest to a misspelt name (fewest single-letter edits, case ignored).
std::string NearestSettingKey(std::string_view name);

/// A record value as text: whole numbers plainly, decimals in their shortest exact form ("0.6").
std::string SettingValueText(const SettingKey& key, const Settings& record);

/// The values the reader keeps: "0 off, anything else on" for a switch, else the table's bounds
/// ("4 to 7", "at least 8", "at most 6"), or "any whole number" / "any number".
std::string SettingRangeText(const SettingKey& key);

/// The section's heading, as the documentation and the commented INI write it.
const char* SectionTitle(SettingSection section);

}  // namespace sandbox
