#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace sandbox {

class World;
class LogState;
struct Vehicle;

/// One vehicle as the replay shows it: where it is, what it is doing by the host's account and
/// the plugin's log, where it is headed, and the points a helicopter was last sent to.
nlohmann::json VehicleSample(World& world, const Vehicle& vehicle, const std::string& pointer, const LogState& log);

}  // namespace sandbox
