#include "run/module_settings.h"

#include "run/module_loader.h"
#include "tuning/setting_keys.h"

namespace sandbox {

std::vector<std::pair<std::string, double>> ModuleSettings(const LoadedModule& module) {
    std::vector<std::pair<std::string, double>> out;
    const Settings* record = module.SettingsRecord();
    if (record == nullptr) return out;
    for (const SettingKey& key : SettingKeys()) out.emplace_back(key.name, key.ValueIn(*record));
    return out;
}

}  // namespace sandbox
