#pragma once

#include <cstdint>

namespace sandbox {

class World;

/// The host's own police vehicles for one frame: cars whose driver pursues go on a chase mission and
/// follow the wanted player, now and then the host takes any law-enforcer car near him back onto one,
/// and helicopters on the helicopter chase follow him from above. Without a wanted player they stand
/// down.
void RunHostPoliceVehicles(World& world, std::uint32_t dtMs, bool wanted);

}  // namespace sandbox
