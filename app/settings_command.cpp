#include "settings_command.h"

#include <cstdio>
#include <iostream>

#include "cli/cli_options.h"
#include "files/json_out.h"
#include "files/whole_file.h"
#include "run/run_json.h"
#include "run/settings_readback.h"
#include "tuning/commented_ini.h"

namespace app {

namespace {

void PrintTable(const sandbox::SettingsReport& report) {
    std::printf("%-22s %10s %10s  %-10s %-7s %s\n", "key", "value", "default", "source", "unit", "meaning");
    for (const sandbox::SettingRow& row : report.rows) {
        const bool changed = row.value != row.defaultValue;
        const std::string source = row.source + (changed ? " *" : "");
        std::printf("%-22s %10s %10s  %-10s %-7s %s\n", row.key->name, row.value.c_str(),
                    row.defaultValue.c_str(), source.c_str(), row.key->unit, row.key->meaning);
    }
    if (report.problems.empty()) {
        std::printf("no problems\n");
        return;
    }
    std::printf("%zu problem(s):\n", report.problems.size());
    for (const sandbox::SettingProblem& p : report.problems)
        std::printf("  %s\n", sandbox::DescribeProblem(p).c_str());
}

}  // namespace

int SettingsCommand(const SettingsOptions& o) {
    if (!o.newIni.empty()) {
        std::error_code ec;
        if (std::filesystem::exists(o.newIni, ec) || ec)
            throw UsageError("--new-ini " + o.newIni +
                             ": a file is there already; remove it or name another");
        sandbox::WriteWholeFile(o.newIni, sandbox::CommentedIni());
        std::cout << "wrote " << o.newIni << "\n";
        return kExitOk;
    }
    std::optional<std::string> ini;
    if (!o.ini.empty()) ini = ReadText(o.ini);
    sandbox::RunOptions options;
    std::vector<sandbox::IniOverride> overrides;
    for (const std::string& set : o.sets) {
        const auto [key, value] = ParseAssignment("--set", set);
        options.overrides.emplace_back(key, value);
        overrides.push_back({key, value, "set"});
    }
    sandbox::Scenario none;
    options.iniText = sandbox::AsWindowsReadsIt(ini);
    const Settings readBack = sandbox::ReadBackSettings(ModulePath(), sandbox::IniTextFor(none, options));
    const sandbox::SettingsReport report = sandbox::CheckSettings(ini, overrides, readBack);
    if (o.json) {
        std::cout << sandbox::JsonText(sandbox::SettingsJson(report), 2) << "\n";
    } else {
        PrintTable(report);
    }
    return report.problems.empty() ? kExitOk : kExitFailed;
}

}  // namespace app
