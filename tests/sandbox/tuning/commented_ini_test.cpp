// The commented INI a modder starts from: the module must read every key of its record from it, each
// line once, and the reader must find nothing amiss in it.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "run/settings_readback.h"
#include "tuning/commented_ini.h"

namespace {

using sandbox::SettingKey;
using sandbox::SettingKeys;

// The INI with every key line's value moved off its default, as the settings read-back test does.
std::string WithEveryValueMoved(const std::string& ini) {
    const Settings defaults;
    std::istringstream in(ini);
    std::string out;
    std::string line;
    while (std::getline(in, line)) {
        const SettingKey* key = sandbox::FindSettingKey(line.substr(0, line.find('=')));
        if (key != nullptr && line.find('=') != std::string::npos) {
            const double moved = key->ValueIn(defaults) + (key->IsInteger() ? 1.0 : 0.25);
            std::ostringstream value;
            value << moved;
            line = std::string(key->name) + "=" + value.str();
        }
        out += line + "\n";
    }
    return out;
}

TEST(CommentedIniTest, TheModuleReadsEveryFieldOfItsRecordFromIt) {
    const std::string ini = WithEveryValueMoved(sandbox::CommentedIni());
    const Settings defaults;
    const Settings readBack = sandbox::ReadBackSettings(VIGILOR_MODULE_PATH, ini);
    for (const SettingKey& key : SettingKeys()) {
        const double expected = key.ValueIn(defaults) + (key.IsInteger() ? 1.0 : 0.25);
        EXPECT_FLOAT_EQ(key.ValueIn(readBack), expected) << key.name << " is not read from the commented INI";
    }
}

TEST(CommentedIniTest, EachKeyOnceAtItsDefaultWithItsRangeAndNoProblem) {
    const std::string ini = sandbox::CommentedIni();
    const Settings defaults;
    std::map<std::string, int> lines;
    std::istringstream in(ini);
    std::string line;
    std::string comment;  // the comment lines just above a key
    while (std::getline(in, line)) {
        if (line.starts_with(";")) {
            comment += line + "\n";
            continue;
        }
        const SettingKey* key = sandbox::FindSettingKey(line.substr(0, line.find('=')));
        if (key != nullptr) {
            ++lines[key->name];
            EXPECT_EQ(line, std::string(key->name) + "=" + sandbox::SettingValueText(*key, defaults));
            EXPECT_NE(comment.find(key->meaning), std::string::npos) << key->name;
            EXPECT_NE(comment.find(sandbox::SettingRangeText(*key)), std::string::npos) << key->name;
        }
        if (!line.empty()) comment.clear();
    }
    for (const SettingKey& key : SettingKeys()) EXPECT_EQ(lines[key.name], 1) << key.name;
    const sandbox::SettingsReport report = sandbox::CheckSettings(ini, {}, defaults);
    EXPECT_TRUE(report.problems.empty()) << sandbox::DescribeProblem(report.problems.front());
}

// Each kind of range once: both bounds (a decimal in its shortest form), one bound either way, a
// switch, and a key of each type without bounds.
TEST(CommentedIniTest, RangesAsTheCommentsWriteThem) {
    const struct {
        const char* key;
        const char* range;
    } cases[] = {
        {"JogMoveState", "4 to 7"},          {"StarFadeAmount", "0 to 0.9"},
        {"SearchRadius", "at least 8"},      {"AimMinMs", "at least 1000"},
        {"PedRangeMultiplier", "at most 6"}, {"FootSearch", "0 off, anything else on"},
        {"LookChance", "any whole number"},  {"SightRange", "any number"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sandbox::SettingRangeText(*sandbox::FindSettingKey(c.key)), c.range);
}

}  // namespace
