#include "tuning/setting_keys.h"

#include <algorithm>
#include <charconv>

#include "tuning/edit_distance.h"

namespace sandbox {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::optional<double> Limit(NoLimit) { return std::nullopt; }
std::optional<double> Limit(double bound) { return bound; }

SettingKey Field(const char* name, std::int32_t Settings::*field, std::optional<double> low,
                 std::optional<double> high, const char* unit, SettingSection section, const char* meaning) {
    return {name, field, nullptr, low, high, unit, section, meaning};
}
SettingKey Field(const char* name, float Settings::*field, std::optional<double> low,
                 std::optional<double> high, const char* unit, SettingSection section, const char* meaning) {
    return {name, nullptr, field, low, high, unit, section, meaning};
}

}  // namespace

double SettingKey::ValueIn(const Settings& record) const {
    return IsInteger() ? static_cast<double>(record.*intField) : static_cast<double>(record.*floatField);
}

const std::vector<SettingKey>& SettingKeys() {
    static const std::vector<SettingKey> keys = {
#define VIGILOR_SETTING_KEY(type, name, value, low, high, unit, section, meaning) \
    Field(#name, &Settings::name, Limit(low), Limit(high), unit, SettingSection::section, meaning),
        VIGILOR_SETTINGS(VIGILOR_SETTING_KEY)
#undef VIGILOR_SETTING_KEY
    };
    return keys;
}

bool SameKeyName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

namespace {

// The keys' names, measured once, with their patterns for the nearest-key search.
struct KnownName {
    std::string_view name;
    NamePattern pattern;
};

const std::vector<KnownName>& KnownNames() {
    static const std::vector<KnownName> names = [] {
        std::vector<KnownName> known;
        for (const SettingKey& key : SettingKeys()) known.push_back({key.name, NamePattern(key.name)});
        return known;
    }();
    return names;
}

}  // namespace

const SettingKey* FindSettingKey(std::string_view name) {
    const std::vector<KnownName>& known = KnownNames();
    for (std::size_t i = 0; i < known.size(); ++i) {
        if (SameKeyName(known[i].name, name)) return &SettingKeys()[i];
    }
    return nullptr;
}

std::string NearestSettingKey(std::string_view name) {
    // No key is longer than a pattern; a longer name is as far from all of them whatever its tail
    // holds, so only its head is compared and a huge name costs no more than a short one.
    name = name.substr(0, NamePattern::kLongest);
    const NameLetters letters(name);
    const std::vector<KnownName>& known = KnownNames();
    std::size_t best = 0;
    std::size_t bestDistance = SIZE_MAX;
    for (std::size_t i = 0; i < known.size(); ++i) {
        // The difference in length is the cheapest floor, then the shared letters.
        const std::size_t length = known[i].name.size();
        if ((length > name.size() ? length - name.size() : name.size() - length) >= bestDistance) continue;
        if (known[i].pattern.Letters().LeastDistanceTo(letters, bestDistance) >= bestDistance) continue;
        const std::size_t distance = known[i].pattern.DistanceTo(name, bestDistance);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return std::string(known[best].name);
}

namespace {

std::string NumberText(const SettingKey& key, double value) {
    if (key.IsInteger()) return std::to_string(static_cast<std::int32_t>(value));
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<float>(value)).ptr;
    return std::string(text, end);
}

}  // namespace

std::string SettingValueText(const SettingKey& key, const Settings& record) {
    return NumberText(key, key.ValueIn(record));
}

std::string SettingRangeText(const SettingKey& key) {
    if (std::string_view(key.unit) == "switch") return "0 off, anything else on";
    if (key.low && key.high) return NumberText(key, *key.low) + " to " + NumberText(key, *key.high);
    if (key.low) return "at least " + NumberText(key, *key.low);
    if (key.high) return "at most " + NumberText(key, *key.high);
    return key.IsInteger() ? "any whole number" : "any number";
}

const char* SectionTitle(SettingSection section) {
    switch (section) {
        case SettingSection::General: return "Log and general";
        case SettingSection::Sight: return "Sight and knowing where the player is";
        case SettingSection::Hearing: return "Gunshots and disguise";
        case SettingSection::FootSearch: return "Foot search";
        case SettingSection::Defence: return "Self-defence";
        case SettingSection::Vehicles: return "Cars and helicopters";
        case SettingSection::Stars: return "Wanted stars";
    }
    return "";
}

}  // namespace sandbox
