#pragma once

// The plugin's settings a scenario gives: "settings" (key: number, written as an INI file) or
// "ini" (the INI text as it stands), not both.

#include "scenario/fields.h"
#include "scenario/scenario.h"

namespace sandbox::loader {

/// Reads "settings" or "ini" of the top-level object into the scenario.
void ReadSettingsSection(const Fields& root, Scenario& scenario);

}  // namespace sandbox::loader
