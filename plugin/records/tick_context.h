#pragma once

#include <cstdint>
#include <vector>

#include "host/vector.h"
#include "records/sighting.h"

class CPlayerPed;
class Disguise;
struct Scene;

/// What one awareness tick works on: built once at its start and handed to each pass in the order
/// the tick runs them. Records and tables that outlive the tick are not in here; a pass that needs
/// them takes them by name.
struct TickContext {
    std::uint32_t now;  ///< host ms
    CPlayerPed& player;
    CVector playerPos;  ///< the player's position at the start of the tick
    bool playerOnFoot;
    int playerVehicle;  ///< host handle of the vehicle he sits in, or -1
    /// The cops listed this tick, in pool order; filled by the sight pass, read by every later pass.
    std::vector<CopSighting>& sightings;
    Scene& scene;
    Disguise& disguise;
};
