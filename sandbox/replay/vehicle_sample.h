#pragma once

#include <array>
#include <deque>
#include <map>
#include <string>

namespace sandbox {

class World;
struct Vehicle;

/// What a vehicle is doing by the host's account and the plugin's word: "parked" (the plugin
/// stopped it for good), "chasing" (the host's chase), "driving" to its target, or "stopped".
const char* VehicleActivity(const Vehicle& vehicle, bool parked);

/// The points each helicopter was last sent to, taken from the host's journal as it grows.
class HeliSweeps {
public:
    static constexpr std::size_t kShown = 6;
    using Points = std::deque<std::array<float, 3>>;

    /// Takes the helicopter orders the host ran since the last call.
    void Note(World& world);
    /// The latest points of the vehicle with this id, oldest first, or null.
    const Points* Of(const std::string& vehicleId) const;

private:
    std::size_t seen_ = 0;
    std::map<std::string, Points> points_;
};

}  // namespace sandbox
