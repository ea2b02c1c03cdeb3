#pragma once

namespace sandbox {

/// Slots of the host's ped pool; the player takes one of them.
inline constexpr int kPedPoolSlots = 140;
/// Slots of the host's vehicle pool.
inline constexpr int kVehiclePoolSlots = 110;

}  // namespace sandbox
