#pragma once

#include <string>

#include "scenario/scenario_loader.h"

namespace testing_support {

/// The loader's message for the scenario text (read as "bad.json"), or "" when it loads.
inline std::string ScenarioErrorFor(const std::string& json) {
    try {
        sandbox::ParseScenario(json, "bad.json");
    } catch (const sandbox::ScenarioError& error) {
        return error.what();
    }
    return "";
}

}  // namespace testing_support
