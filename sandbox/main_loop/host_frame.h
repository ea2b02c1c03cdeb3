#pragma once

#include <cstdint>

namespace sandbox {

class World;

/// The host's frame processing, its own work for one frame of `dtMs`: timed tasks end, the host's
/// police chase the wanted player (unless the scenario keeps them out of it), peds and vehicles move.
void RunHostFrame(World& world, std::uint32_t dtMs, bool hostPursuit);

}  // namespace sandbox
