#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "world/world.h"

namespace testing_support {

/// A bare sandbox world (no plugin loaded) for tests that call host code directly. Only one world
/// may be alive at a time.
std::unique_ptr<sandbox::World> MakeWorld(int codeBuild = 1001, int starCallSites = 2);

/// Runs the host's own frames of 50 ms for `ms` (no plugin), calling `afterFrame` after each;
/// `hostPursuit` as the scenario's host says.
void RunHostFrames(sandbox::World& world, std::uint32_t ms, bool hostPursuit = true,
                   const std::function<void()>& afterFrame = {});

}  // namespace testing_support
