#pragma once

#include <nlohmann/json.hpp>

namespace sandbox {

class World;

/// The parts of the static world the viewer draws that the scenario's boxes do not give: the
/// pedestrian path nodes with their links, and the holes in the ground.
nlohmann::json WorldLayout(const World& world);

/// The name the replay gives what a ped is busy with besides walking, or empty.
const char* ActivityName(int kind);

}  // namespace sandbox
