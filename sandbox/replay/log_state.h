#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "geometry/vec3.h"
#include "replay/pointer_key.h"

namespace sandbox {

/// What the plugin's log lines tell the host about the pursuit, as far as the lines go: which cops
/// the plugin declared lost, the counts of the last summary line, and where the scene is.
class LogState {
public:
    /// Reads one line; `player` is the player's position in the frame the line was written.
    void Read(const std::string& line, Vec3 player, std::uint32_t runMs = 0);
    /// Called every frame after its lines: while the last summary says a sharing cop sees the
    /// player, the scene follows him.
    void FollowPlayer(Vec3 player, std::uint32_t runMs = 0);

    /// The plugin's rule by which its log says a cop was held lost.
    enum class Loss : std::uint8_t { none, grace, parkedCar };
    bool Lost(std::string_view pedPointer) const { return Lost(PointerKey(std::string(pedPointer))); }
    bool Lost(const PointerKey& pedPointer) const { return LostBy(pedPointer) != Loss::none; }
    Loss LostBy(const PointerKey& pedPointer) const;
    /// Whether the plugin said it stopped this car for good in the current episode.
    bool Parked(const std::string& vehiclePointer) const;
    /// Between "wanted level started" and its end (or a reset): outside it no cop is after anyone.
    bool episode = false;
    bool sceneValid = false;
    Vec3 scene;
    /// Run time the scene was last put or confirmed: by the start, a gunshot, or a sharing cop's sight.
    std::uint32_t sceneMs = 0;
    int seeing = 0;
    int lost = 0;
    bool sceneShared = false;

private:
    struct Counts {
        int seeing = 0;
        int lost = 0;
        bool sceneShared = false;
    };
    Counts logged_;                 ///< of the last summary line
    ByPointer<Loss> lost_;          ///< by "%p" text of the ped
    std::set<std::string> parked_;  ///< by "%p" text of the vehicle
};

/// The "%p" text after `key` (e.g. "veh=") in a line, or empty.
std::string PointerIn(const std::string& line, const std::string& key);
/// The "%p" text after "ped=" in a line, or empty.
std::string PedPointerIn(const std::string& line);

}  // namespace sandbox
