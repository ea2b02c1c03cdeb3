#include "tuning/setting_keys.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace sandbox {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

SettingKey Field(const char* name, std::int32_t Settings::*field, const char* unit, const char* meaning) {
    return {name, field, nullptr, unit, meaning};
}
SettingKey Field(const char* name, float Settings::*field, const char* unit, const char* meaning) {
    return {name, nullptr, field, unit, meaning};
}

}  // namespace

double SettingKey::ValueIn(const Settings& record) const {
    return IsInteger() ? static_cast<double>(record.*intField) : static_cast<double>(record.*floatField);
}

const std::vector<SettingKey>& SettingKeys() {
    static const std::vector<SettingKey> keys = {
#define VIGILOR_SETTING_KEY(type, name, value, unit, meaning) Field(#name, &Settings::name, unit, meaning),
        VIGILOR_SETTINGS(VIGILOR_SETTING_KEY)
#undef VIGILOR_SETTING_KEY
    };
    return keys;
}

std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit) {
    // One row of the table, kept between calls: a check may compare hundreds of thousands of names.
    thread_local std::vector<std::size_t> row;
    row.resize(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        std::size_t least = row[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replace = diagonal + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, replace});
            least = std::min(least, row[j]);
        }
        // No later row goes below this one's least.
        if (least >= limit) return limit;
    }
    return row[b.size()];
}

bool SameKeyName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

const SettingKey* FindSettingKey(std::string_view name) {
    for (const SettingKey& key : SettingKeys()) {
        if (SameKeyName(key.name, name)) return &key;
    }
    return nullptr;
}

std::string NearestSettingKey(std::string_view name) {
    // No key is longer than this; a longer name is as far from all of them whatever its tail holds,
    // so only its head is compared and a huge name costs no more than a short one.
    constexpr std::size_t kLongestCompared = 64;
    name = name.substr(0, kLongestCompared);
    const SettingKey* best = &SettingKeys().front();
    std::size_t bestDistance = EditDistance(best->name, name);
    for (const SettingKey& key : SettingKeys()) {
        const std::size_t length = std::string_view(key.name).size();
        // The distance is at least the difference in length.
        if ((length > name.size() ? length - name.size() : name.size() - length) >= bestDistance) continue;
        const std::size_t distance = EditDistance(key.name, name, bestDistance);
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
