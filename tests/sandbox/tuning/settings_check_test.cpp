// The settings as the module read them, and the problems found by reading the INI text alongside.

#include <gtest/gtest.h>

#include <cstdio>

#include "run/settings_readback.h"

namespace {

using sandbox::CheckSettings;
using sandbox::IniOverride;
using sandbox::SettingKeys;
using sandbox::SettingProblem;
using sandbox::SettingsReport;

SettingsReport Check(const std::optional<std::string>& ini, const std::vector<IniOverride>& overrides = {}) {
    sandbox::RunOptions options;
    options.iniText = ini;
    for (const IniOverride& o : overrides) options.overrides.emplace_back(o.key, o.value);
    const Settings readBack =
        sandbox::ReadBackSettings(VIGILOR_MODULE_PATH, sandbox::IniTextFor({}, options));
    return CheckSettings(ini, overrides, readBack);
}

std::vector<std::string> Problems(const SettingsReport& report) {
    std::vector<std::string> lines;
    for (const SettingProblem& p : report.problems) lines.push_back(p.where + " " + p.key + ": " + p.problem);
    return lines;
}

const sandbox::SettingRow& Row(const SettingsReport& report, std::string_view key) {
    for (const sandbox::SettingRow& row : report.rows) {
        if (row.key->name == key) return row;
    }
    throw std::runtime_error("no row " + std::string(key));
}

// Every key of the table set to a value of its own within its clamps: the module must hold exactly
// that value in the field the table names, so a misspelt name or a crossed field shows here.
TEST(SettingsReadBackTest, EveryKeyReachesItsOwnFieldOfTheModulesRecord) {
    std::string ini = "[Settings]\n";
    const Settings defaults;
    for (const sandbox::SettingKey& key : SettingKeys()) {
        char line[96];
        if (key.IsInteger()) {
            std::snprintf(line, sizeof line, "%s=%d\n", key.name, defaults.*key.intField + 1);
        } else {
            std::snprintf(line, sizeof line, "%s=%g\n", key.name,
                          static_cast<double>(defaults.*key.floatField) + 0.25);
        }
        ini += line;
    }
    const Settings readBack = sandbox::ReadBackSettings(VIGILOR_MODULE_PATH, ini);
    ASSERT_EQ(SettingKeys().size(), 60u);
    for (const sandbox::SettingKey& key : SettingKeys()) {
        const double expected = key.ValueIn(defaults) + (key.IsInteger() ? 1.0 : 0.25);
        EXPECT_FLOAT_EQ(key.ValueIn(readBack), expected) << key.name;
    }
    const SettingsReport report = CheckSettings(ini, {}, readBack);
    EXPECT_TRUE(report.problems.empty()) << Problems(report).front();
    EXPECT_EQ(Row(report, "SightRange").source, "ini:2");
    EXPECT_EQ(Row(report, "Log").source, "ini:61");
    EXPECT_EQ(Row(report, "StarFadeAmount").value, "0.85");
}

TEST(SettingsReadBackTest, NoFileGivesTheDefaultsFromTheDefaultSource) {
    const SettingsReport report = Check(std::nullopt);
    EXPECT_TRUE(report.problems.empty());
    for (const sandbox::SettingRow& row : report.rows) {
        EXPECT_EQ(row.source, "default") << row.key->name;
        EXPECT_EQ(row.value, row.defaultValue) << row.key->name;
    }
}

TEST(SettingsProblemsTest, MisspeltKeysAndSectionsNameTheLineAndTheNearestKey) {
    const SettingsReport report =
        Check("[Settings]\nPursuitGrace=15000\n;SightRange=5\n[Setings]\nSightRange=60\n",
              {{"SightRang", "60", "set"}});
    ASSERT_EQ(Problems(report),
              (std::vector<std::string>{"ini:4 [Setings]: unknown section", "ini:2 PursuitGrace: unknown key",
                                        "set SightRang: unknown key"}));
    EXPECT_EQ(report.problems[1].detail, "nearest known key: PursuitGraceMs");
    EXPECT_EQ(report.problems[2].detail, "nearest known key: SightRange");
    EXPECT_EQ(Row(report, "SightRange").value, "45");
}

TEST(SettingsProblemsTest, SectionsTheReaderNeverSearches) {
    EXPECT_EQ(
        Problems(Check("SightRange=60\n[Settings]\nFootSearch=0\n[settings]\nSightRange=60\n")),
        (std::vector<std::string>{"ini:1 SightRange: unknown section", "ini:4 [settings]: unknown section"}));
    EXPECT_EQ(Problems(Check("\xEF\xBB\xBF[Settings]\r\nSightRange=60\r\n")),
              (std::vector<std::string>{"ini:1 : unknown section"}));
}

TEST(SettingsProblemsTest, TextThatIsNotANumberOrNotFinite) {
    const SettingsReport report = Check(
        "[Settings]\nSightRange=far\nPursuitGraceMs=3s\nDefendRange=inf\nRadioRange=\nAimMinMs\nLookChance="
        "99999999999\n");
    ASSERT_EQ(Problems(report),
              (std::vector<std::string>{"ini:2 SightRange: not a number", "ini:5 RadioRange: not a number",
                                        "ini:3 PursuitGraceMs: not a number", "ini:4 DefendRange: not finite",
                                        "ini:6 AimMinMs: not a number", "ini:7 LookChance: not a number"}));
    EXPECT_EQ(report.problems[0].detail, "\"far\" reads as 0");
    EXPECT_EQ(report.problems[2].detail, "\"3s\" reads as 3");
    EXPECT_EQ(report.problems[5].detail, "\"99999999999\" does not fit 32 bits and reads as 1215752191");
    EXPECT_EQ(Row(report, "SightRange").value, "0");
    EXPECT_EQ(Row(report, "DefendRange").value, "45");
    EXPECT_EQ(Row(report, "PursuitGraceMs").value, "3");
}

TEST(SettingsProblemsTest, ClampsShowWhatWasWrittenAndWhatTheModuleHolds) {
    const SettingsReport report = Check("[Settings]\nStarFadeAmount=2\nAimMinMs=40000\nJogMoveState=5\n");
    ASSERT_EQ(Problems(report),
              (std::vector<std::string>{"default AimMaxMs: clamped", "ini:2 StarFadeAmount: clamped"}));
    EXPECT_EQ(report.problems[0].detail, "from 30000 to 40000");
    EXPECT_EQ(report.problems[1].detail, "from 2 to 0.9");
}

TEST(SettingsProblemsTest, TheLastSetOfAKeyWinsAndIsItsSource) {
    const SettingsReport report =
        Check("[Settings]\nSightRange=50\n", {{"SightRange", "60", "set"}, {"sightrange", "70", "set"}});
    EXPECT_TRUE(report.problems.empty());
    EXPECT_EQ(Row(report, "SightRange").value, "70");
    EXPECT_EQ(Row(report, "SightRange").source, "set");
}

TEST(SettingsOverlayTest, KeysOfTheFirstSettingsSectionBecomeOverridesWithTheirLines) {
    const sandbox::IniOverlay overlay = sandbox::ReadIniOverlay(
        "[Settings]\nSightRange=60\nsightrange=70\nFootSearch\n[Other]\nX=1\n", "overlay");
    ASSERT_EQ(overlay.overrides.size(), 1u);
    EXPECT_EQ(overlay.overrides[0].key, "SightRange");
    EXPECT_EQ(overlay.overrides[0].value, "60");
    EXPECT_EQ(overlay.overrides[0].where, "overlay:2");
    ASSERT_EQ(overlay.problems.size(), 1u);
    EXPECT_EQ(overlay.problems[0].where, "overlay:5");
}

}  // namespace
