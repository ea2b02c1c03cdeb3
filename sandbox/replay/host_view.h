#pragma once

#include <nlohmann/json.hpp>

namespace sandbox {

class World;

/// The parts of the static world the viewer draws that the scenario's boxes do not give: the
/// pedestrian path nodes with their links, and the holes in the ground.
nlohmann::json WorldLayout(const World& world);

/// Adds to one sample what the host itself is doing with the recorded cops (the rest of each move
/// order, what a busy cop is busy with) and how the stars were last drawn. Cops are matched by id.
void AddHostOrders(World& world, nlohmann::json& sample);

}  // namespace sandbox
