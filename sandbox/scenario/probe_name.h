#pragma once

#include <string_view>

#include "scenario/scenario.h"

namespace sandbox {

// "ped:cop1.x", "scriptCommands:05F5", ... Throws std::invalid_argument saying what is wrong.
// Does not check that the id exists; the loader does that.
ProbeName ParseProbeName(std::string_view text);

}  // namespace sandbox
