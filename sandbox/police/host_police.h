#pragma once

#include <cstdint>

namespace sandbox {

class World;

/// The host's own police for one frame: cops not held out of the pursuit chase the wanted player, and
/// so do held-out cops who still have him on their criminal list or carry a pursuit task; the other
/// held-out cops now and then get him back on their criminal list, and a pursuit task with it.
void RunHostPolice(World& world, std::uint32_t dtMs);

}  // namespace sandbox
