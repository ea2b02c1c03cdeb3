#pragma once

#include <string>
#include <vector>

namespace app {

struct SettingsOptions {
    std::string ini;
    std::vector<std::string> sets;
    bool json = false;
    std::string newIni;  ///< write a commented INI there instead
};

/// Prints every key as the module read it, then the problems. Exit 0 clean, 1 with problems. With
/// newIni, writes the commented INI of every key at its default there instead; a file already there
/// is a usage error, so that nobody's edits are lost.
int SettingsCommand(const SettingsOptions& o);

}  // namespace app
