#include "tuning/settings_check.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "host/win32/private_profile.h"
#include "host/win32/profile_encoding.h"
#include "scenario/json_path.h"
#include "tuning/edit_distance.h"
#include "tuning/ini_lines.h"

// The plugin reads whole numbers with the profile integer reader and decimals with atof on at most
// 31 characters; both accept text that is not a number without a word. This file redoes those reads
// from the same text and lays the outcome next to what the module's record holds.

namespace sandbox {

namespace {

constexpr std::string_view kSection = "Settings";
constexpr std::size_t kFloatChars = 31;  // the plugin's 32-byte buffer

// A UTF-16 file is read by the plugin through its code page, so it is checked as such; any other
// file as it stands, its UTF-8 mark included (the listing warns about what Windows makes of that).
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string AsThePluginReadsIt(std::string_view bytes) {
    const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    return utf16 ? vigilor::win32::ProfileTextInCodePage(bytes) : std::string(bytes);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Whole text is a number the integer reader takes completely: sign, then decimal or "0x" hex digits.
bool IsWholeInteger(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const bool hex = text.substr(i).starts_with("0x");
    if (hex) i += 2;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        const bool digit =
            (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit) return false;
    }
    return true;
}

// Whether the integer reader's modulo-2^32 wrap changed the number written.
bool Wraps(std::string_view text, std::int32_t read) {
    const std::string copy(text);
    errno = 0;
    char* end = nullptr;
    const long long written =
        std::strtoll(copy.c_str(), &end, copy.find("0x") != std::string::npos ? 16 : 10);
    return errno == ERANGE || written != static_cast<long long>(read);
}

struct KeySource {
    std::string where;                 // empty: default
    std::optional<std::string> value;  // the text the reader takes; nullopt: the default is used
    bool noEquals = false;
};

struct Checker {
    const Settings& readBack;
    SettingsReport report;

    void Add(std::string where, std::string key, std::string problem, std::string detail) {
        report.problems.push_back({std::move(where), std::move(key), std::move(problem), std::move(detail)});
    }

    // The problems of one key: what the reader makes of its text, and any clamp the module applied after.
    void CheckValue(const SettingKey& key, const KeySource& source) {
        const Settings defaults;
        const std::string def = SettingValueText(key, defaults);
        const std::string held = SettingValueText(key, readBack);
        if (source.noEquals) {
            Add(source.where, key.name, "not a number",
                "the line has no '=': the default " + def + " is used");
            return;
        }
        if (!source.value) return;
        const std::string& text = *source.value;
        if (key.IsInteger()) {
            if (text.empty()) {
                Add(source.where, key.name, "not a number", "empty value: the default " + def + " is used");
                return;
            }
            const auto read = static_cast<std::int32_t>(vigilor::win32::ParseProfileInt(text));
            if (!IsWholeInteger(text)) {
                Add(source.where, key.name, "not a number",
                    Quoted(text) + " reads as " + std::to_string(read));
            } else if (Wraps(text, read)) {
                Add(source.where, key.name, "not a number",
                    Quoted(text) + " does not fit 32 bits and reads as " + std::to_string(read));
            }
            if (read != readBack.*key.intField) {
                Add(source.where, key.name, "clamped", "from " + std::to_string(read) + " to " + held);
            }
            return;
        }
        const std::string cut = text.substr(0, kFloatChars);
        char* end = nullptr;
        const double parsed = std::strtod(cut.c_str(), &end);
        const auto read = static_cast<float>(parsed);
        if (!std::isfinite(read)) {
            Add(source.where, key.name, "not finite",
                Quoted(text) + " is not a finite number: the plugin uses " + held);
            return;
        }
        if (cut.empty() || *end != '\0') {
            Add(source.where, key.name, "not a number",
                Quoted(text) + " reads as " + SettingValueText(key, WithValue(key, read)));
        }
        if (read != readBack.*key.floatField) {
            Add(source.where, key.name, "clamped",
                "from " + SettingValueText(key, WithValue(key, read)) + " to " + held);
        }
    }

    static Settings WithValue(const SettingKey& key, float value) {
        Settings record;
        record.*key.floatField = value;
        return record;
    }
};

// Problems in the order of their files' lines: a file's in line order, the sources in the order
// they first come (the INI, the overlay, the --set options, then keys clamped because of others).
void SortByLine(std::vector<SettingProblem>& problems) {
    std::vector<std::string> sources;
    const auto order = [&sources](const SettingProblem& p) {
        const std::size_t colon = p.where.rfind(':');
        const std::string source = p.where.substr(0, colon);
        const auto at = std::find(sources.begin(), sources.end(), source);
        const std::size_t rank = static_cast<std::size_t>(at - sources.begin());
        if (at == sources.end()) sources.push_back(source);
        const long line = colon == std::string::npos ? 0 : std::atol(p.where.c_str() + colon + 1);
        return std::pair{rank, line};
    };
    // The keys are sorted with each problem's place, which keeps equal keys in order and moves
    // each problem once: an INI of many bad lines has as many problems.
    std::vector<std::pair<std::pair<std::size_t, long>, std::size_t>> keyed;
    keyed.reserve(problems.size());
    for (std::size_t i = 0; i < problems.size(); ++i) keyed.push_back({order(problems[i]), i});
    // "default" (a key clamped because of another) always comes last.
    for (auto& [key, i] : keyed) {
        if (problems[i].where == "default") key.first = sources.size();
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<SettingProblem> sorted;
    sorted.reserve(problems.size());
    for (const auto& entry : keyed) sorted.push_back(std::move(problems[entry.second]));
    problems = std::move(sorted);
}

bool IsComment(const IniLine& line) { return line.name.starts_with(';') || line.name.starts_with('#'); }

// The layout of an INI text: which lines the reader searches (the first [Settings] section) and what
// it never reads.
struct SectionScan {
    std::vector<const IniLine*> settingsLines;
    std::unordered_map<std::string_view, const IniLine*, vigilor::win32::ProfileNameHash,
                       vigilor::win32::ProfileNameEqual>
        firstLines;  // by key name
    std::vector<SettingProblem> problems;
};

// `unknownKeys`: whether an unknown key is a problem of the layout, or is left to the check of the
// overrides the lines become (an overlay), so that it is told once.
SectionScan ScanSections(const IniListing& listing, const std::string& prefix, bool unknownKeys) {
    SectionScan scan;
    const auto where = [&](int line) { return prefix + ":" + std::to_string(line); };
    const auto add = [&](int line, std::string key, std::string detail) {
        scan.problems.push_back({where(line), std::move(key), "unknown section", std::move(detail)});
    };
    if (listing.byteOrderMark) {
        add(1, "",
            "the file starts with a UTF-8 byte-order mark: Windows then does not see the first section, "
            "whose "
            "keys keep their defaults; save it without one");
    }
    bool seenSettings = false;
    bool inSettings = false;
    // With the mark, the lines up to the next section are lost for the reason just told.
    bool reportedOutside = listing.byteOrderMark;
    for (const IniLine& line : listing.lines) {
        if (line.isHeader) {
            const bool isSettings = SameKeyName(line.name, kSection);
            inSettings = isSettings && !seenSettings;
            if (isSettings && seenSettings) {
                add(line.number, "[" + line.name + "]",
                    "a repeated [Settings] is never read: move its keys into the first one");
            } else if (!isSettings) {
                add(line.number, "[" + line.name + "]",
                    std::string("not read: the plugin reads only [Settings]") +
                        (EditDistance(line.name, kSection) <= 3 ? " (misspelt?)" : ""));
            }
            seenSettings = seenSettings || isSettings;
        } else if (inSettings) {
            scan.settingsLines.push_back(&line);
        } else if (!seenSettings && !reportedOutside && !IsComment(line)) {
            // Windows skips comments wherever they stand; only a key line out here is lost.
            reportedOutside = true;
            add(line.number, line.name, "outside any section: not read");
        }
    }
    scan.firstLines.reserve(scan.settingsLines.size());
    for (const IniLine* line : scan.settingsLines) {
        if (IsComment(*line)) continue;
        const auto [first, isFirst] = scan.firstLines.emplace(line->name, line);
        if (!isFirst) {
            scan.problems.push_back({where(line->number), line->name, "repeated key",
                                     "given again at " + where(line->number) +
                                         "; the plugin uses the first, " + where(first->second->number)});
        }
        if (unknownKeys && FindSettingKey(line->name) == nullptr) {
            scan.problems.push_back({where(line->number), line->name, "unknown key",
                                     "nearest known key: " + NearestSettingKey(line->name)});
        }
    }
    return scan;
}

}  // namespace

std::optional<std::string> AsWindowsReadsIt(const std::optional<std::string>& text) {
    if (!text || !text->starts_with(kUtf8Mark)) return text;
    // Any byte that is neither blank nor '[' does: the first line is then no header, as on Windows.
    return "\x01" + text->substr(kUtf8Mark.size());
}

IniOverlay ReadIniOverlay(std::string_view bytes, const std::string& prefix) {
    const std::string decoded = AsThePluginReadsIt(*AsWindowsReadsIt(std::string(bytes)));
    const std::string_view text = decoded;
    IniListing listing = ListIniLines(text);
    listing.byteOrderMark = bytes.starts_with(kUtf8Mark);
    SectionScan scan = ScanSections(listing, prefix, false);
    IniOverlay overlay{{}, std::move(scan.problems)};
    // The first line of a key is the one the reader would take; later ones are dropped like it drops them.
    std::unordered_set<std::string_view, vigilor::win32::ProfileNameHash, vigilor::win32::ProfileNameEqual>
        taken;
    const vigilor::win32::ProfileIndex index{std::string(text)};
    for (const IniLine* line : scan.settingsLines) {
        if (!line->hasEquals) {
            if (!IsComment(*line)) {
                overlay.problems.push_back({prefix + ":" + std::to_string(line->number), line->name,
                                            "no value", "the line has no '=': it changes nothing"});
            }
            continue;
        }
        if (!taken.insert(line->name).second) continue;
        // A known key's value is read as the plugin reads it; the plugin never reads an unknown one,
        // so its line's own text stands (and the file is not searched once per unknown key).
        const std::optional<std::string> value = FindSettingKey(line->name) != nullptr
                                                     ? index.Find(kSection, line->name)
                                                     : std::optional<std::string>(line->value);
        overlay.overrides.push_back(
            {line->name, value.value_or(""), prefix + ":" + std::to_string(line->number)});
    }
    SortByLine(overlay.problems);
    return overlay;
}

SettingsReport CheckSettings(const std::optional<std::string>& iniBytes,
                             const std::vector<IniOverride>& overrides, const Settings& readBack) {
    Checker checker{readBack, {}};
    const std::optional<std::string> iniText =
        iniBytes ? std::optional<std::string>(AsThePluginReadsIt(*AsWindowsReadsIt(iniBytes))) : std::nullopt;
    IniListing listing = ListIniLines(iniText.value_or(""));
    listing.byteOrderMark = iniBytes && iniBytes->starts_with(kUtf8Mark);
    SectionScan scan = ScanSections(listing, "ini", true);
    checker.report.problems = std::move(scan.problems);
    for (const IniOverride& o : overrides) {
        if (FindSettingKey(o.key) == nullptr) {
            checker.Add(o.where, o.key, "unknown key", "nearest known key: " + NearestSettingKey(o.key));
        }
    }

    const Settings defaults;
    std::optional<vigilor::win32::ProfileIndex> index;  // read once a known key is found
    for (const SettingKey& key : SettingKeys()) {
        KeySource source;
        // The last --set of a key is the one written first, so it wins.
        for (const IniOverride& o : overrides) {
            if (SameKeyName(o.key, key.name)) source = {o.where, o.value, false};
        }
        const auto line = scan.firstLines.find(key.name);
        if (source.where.empty() && line != scan.firstLines.end()) {
            source.where = "ini:" + std::to_string(line->second->number);
            source.noEquals = !line->second->hasEquals;
            if (!index) index.emplace(*iniText);
            if (line->second->hasEquals) source.value = index->Find(kSection, key.name);
        }
        checker.CheckValue(key, source);
        if (source.where.empty() && key.ValueIn(defaults) != key.ValueIn(readBack)) {
            checker.Add("default", key.name, "clamped",
                        "from " + SettingValueText(key, defaults) + " to " + SettingValueText(key, readBack));
        }
        checker.report.rows.push_back({&key, SettingValueText(key, readBack), SettingValueText(key, defaults),
                                       source.where.empty() ? "default" : source.where});
    }
    SortByLine(checker.report.problems);
    return checker.report;
}

std::string DescribeProblem(const SettingProblem& problem) {
    std::string text = problem.where + ": ";
    if (!problem.key.empty()) text += loader::Shown(problem.key) + ": ";
    return text + problem.problem + " (" + loader::Shown(problem.detail) + ")";
}

}  // namespace sandbox
