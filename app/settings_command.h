#pragma once

#include <string>
#include <vector>

namespace app {

struct SettingsOptions {
    std::string ini;
    std::vector<std::string> sets;
    bool json = false;
};

/// Prints every key as the module read it, then the problems. Exit 0 clean, 1 with problems.
int SettingsCommand(const SettingsOptions& o);

}  // namespace app
