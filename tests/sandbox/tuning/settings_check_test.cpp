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
    options.iniText = sandbox::AsWindowsReadsIt(ini);
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
              (std::vector<std::string>{"ini:2 PursuitGrace: unknown key", "ini:4 [Setings]: unknown section",
                                        "set SightRang: unknown key"}));
    EXPECT_EQ(report.problems[0].detail, "nearest known key: PursuitGraceMs");
    EXPECT_EQ(report.problems[2].detail, "nearest known key: SightRange");
    EXPECT_EQ(Row(report, "SightRange").value, "45");
}

TEST(SettingsProblemsTest, CommentsAndBlankLinesAreNoProblemsAndARepeatedKeyIsOne) {
    EXPECT_EQ(Problems(Check("; my settings\n\n# tuned for night\n[Settings]\nSightRange=60\n")),
              std::vector<std::string>{});
    const SettingsReport report =
        Check("[Settings]\nSightRange=60\n;SightRange=1\nFootSearch=0\nsightrange=70\n");
    ASSERT_EQ(Problems(report), std::vector<std::string>{"ini:5 sightrange: repeated key"});
    EXPECT_EQ(report.problems[0].detail, "given again at ini:5; the plugin uses the first, ini:2");
    EXPECT_EQ(Row(report, "SightRange").value, "60");
}

TEST(SettingsProblemsTest, AScenariosOwnSettingsAreNamedByTheirJsonPath) {
    sandbox::Scenario scenario;
    scenario.settings =
        std::vector<sandbox::Setting>{{"SightRange", 50, true, "50"}, {"PursuitGrace", 1, true, "1"}};
    sandbox::RunOptions options;
    options.modulePath = VIGILOR_MODULE_PATH;
    const SettingsReport report = sandbox::CheckRunSettings(scenario, options);
    EXPECT_EQ(Problems(report), std::vector<std::string>{"settings.PursuitGrace PursuitGrace: unknown key"});
    EXPECT_EQ(Row(report, "SightRange").source, "settings.SightRange");
}

TEST(SettingsOverlayTest, AnOverlaysUnknownKeyIsToldOnceAndALineWithoutAValueIsTold) {
    const sandbox::IniOverlay overlay =
        sandbox::ReadIniOverlay("[Settings]\nSightRang=60\nFootSearch\n", "overlay");
    ASSERT_EQ(overlay.problems.size(), 1u);
    EXPECT_EQ(overlay.problems[0].where + " " + overlay.problems[0].problem, "overlay:3 no value");
    const SettingsReport report = Check(std::nullopt, overlay.overrides);
    EXPECT_EQ(Problems(report), std::vector<std::string>{"overlay:2 SightRang: unknown key"});
}

TEST(SettingsProblemsTest, SectionsTheReaderNeverSearches) {
    EXPECT_EQ(
        Problems(Check("SightRange=60\n[Settings]\nFootSearch=0\n[settings]\nSightRange=60\n")),
        (std::vector<std::string>{"ini:1 SightRange: unknown section", "ini:4 [settings]: unknown section"}));
    // With a UTF-8 mark Windows loses the first section: its keys keep their defaults, and a second
    // [Settings] is the one read, not one never read.
    const SettingsReport marked =
        Check("\xEF\xBB\xBF[Settings]\r\nSightRange=60\r\n[Settings]\r\nRadioRange=30\r\n");
    EXPECT_EQ(Problems(marked), (std::vector<std::string>{"ini:1 : unknown section"}));
    EXPECT_EQ(Row(marked, "SightRange").value, "45");
    EXPECT_EQ(Row(marked, "SightRange").source, "default");
    EXPECT_EQ(Row(marked, "RadioRange").value, "30");
    EXPECT_EQ(Row(marked, "RadioRange").source, "ini:4");
}

TEST(SettingsProblemsTest, TextThatIsNotANumberOrNotFinite) {
    const SettingsReport report = Check(
        "[Settings]\nSightRange=far\nPursuitGraceMs=3s\nDefendRange=inf\nRadioRange=\nAimMinMs\nLookChance="
        "99999999999\n");
    ASSERT_EQ(Problems(report), (std::vector<std::string>{
                                    "ini:2 SightRange: not a number", "ini:3 PursuitGraceMs: not a number",
                                    "ini:4 DefendRange: not finite", "ini:5 RadioRange: not a number",
                                    "ini:6 AimMinMs: not a number", "ini:7 LookChance: not a number"}));
    EXPECT_EQ(report.problems[0].detail, "\"far\" reads as 0");
    EXPECT_EQ(report.problems[1].detail, "\"3s\" reads as 3");
    EXPECT_EQ(report.problems[5].detail, "\"99999999999\" does not fit 32 bits and reads as 1215752191");
    EXPECT_EQ(Row(report, "SightRange").value, "0");
    EXPECT_EQ(Row(report, "DefendRange").value, "45");
    EXPECT_EQ(Row(report, "PursuitGraceMs").value, "3");
}

TEST(SettingsProblemsTest, ClampsShowWhatWasWrittenAndWhatTheModuleHolds) {
    const SettingsReport report = Check("[Settings]\nStarFadeAmount=2\nAimMinMs=40000\nJogMoveState=5\n");
    ASSERT_EQ(Problems(report),
              (std::vector<std::string>{"ini:2 StarFadeAmount: clamped", "default AimMaxMs: clamped"}));
    EXPECT_EQ(report.problems[0].detail, "from 2 to 0.9");
    EXPECT_EQ(report.problems[1].detail, "from 30000 to 40000");
}

TEST(SettingsProblemsTest, AUtf16FileIsCheckedAsThePluginReadsIt) {
    // "[Settings]\r\nSightRange=50\r\n" in UTF-16, little-endian, with its mark.
    std::string ini = "\xFF\xFE";
    for (char c : std::string("[Settings]\r\nSightRange=50\r\n")) ini += std::string{c, '\0'};
    const SettingsReport report = Check(ini);
    EXPECT_TRUE(report.problems.empty()) << Problems(report).front();
    EXPECT_EQ(Row(report, "SightRange").value, "50");
    EXPECT_EQ(Row(report, "SightRange").source, "ini:2");
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
    std::vector<std::string> problems;
    for (const SettingProblem& p : overlay.problems) problems.push_back(p.where + " " + p.problem);
    EXPECT_EQ(problems, (std::vector<std::string>{"overlay:3 repeated key", "overlay:4 no value",
                                                  "overlay:5 unknown section"}));
}

}  // namespace
