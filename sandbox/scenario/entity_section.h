#pragma once

// The peds and vehicles of a scenario: the player, the start lists "vehicles" and "peds", and the
// ped or vehicle a spawn event brings.

#include <string>
#include <string_view>
#include <vector>

#include "scenario/fields.h"
#include "scenario/id_registry.h"
#include "scenario/scenario.h"

namespace sandbox::loader {

/// The player's keys that give him a behaviour of his own, and its numbers.
inline constexpr std::string_view kBehaviourKeys[] = {"behaviour",  "footSpeed", "carSpeed",
                                                      "reactionMs", "caution",   "sight"};

/// A ped object; the vehicle it sits in is added to `refs` for a later check.
PedSpec ReadPed(const Json& value, const std::string& path, std::vector<PendingRef>& refs);
VehicleSpec ReadVehicle(const Json& value, const std::string& path);

/// "the ped pool is full: it has N slots".
std::string PoolFull(std::string_view kind, int slots);

/// Reads "vehicles", "player" and "peds" of the top-level object, declares their ids, and checks
/// that every vehicle they sit in exists and that no two of them share a seat.
void ReadStartEntities(const Fields& root, IdRegistry& ids, Scenario& scenario);

}  // namespace sandbox::loader
