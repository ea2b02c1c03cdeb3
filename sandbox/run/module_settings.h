#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sandbox {

class LoadedModule;

/// The settings as the module holds them, read back from its exported settings record: every key
/// in record order with the value in force. Empty when the module exports no record.
std::vector<std::pair<std::string, double>> ModuleSettings(const LoadedModule& module);

}  // namespace sandbox
