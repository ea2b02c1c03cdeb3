#pragma once

#include <memory>

#include "world/world.h"

namespace testing_support {

/// A bare sandbox world (no plugin loaded) for tests that call host code directly. Only one world
/// may be alive at a time.
std::unique_ptr<sandbox::World> MakeWorld(int codeBuild = 1001, int starCallSites = 2);

}  // namespace testing_support
