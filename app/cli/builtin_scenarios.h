#pragma once

#include <string_view>
#include <vector>

/// A scenario compiled into the program, so that it runs from any folder.
struct BuiltinScenario {
    std::string_view name;
    std::string_view json;
};

const std::vector<BuiltinScenario>& BuiltinScenarios();
