#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "geometry/vec3.h"
#include "world/world_description.h"

namespace sandbox {

/// A town built from a few numbers: blocks of buildings between streets, path nodes along the
/// streets and the alleys inside the blocks, the police at their posts and parked cars. Every number
/// is explained in docs/host-model.md, "Generated towns".
struct TownLayout {
    int blocksX = 5;
    int blocksY = 5;
    float block = 60.0f;                             ///< m, side of a block
    float street = 14.0f;                            ///< m, width of a street
    std::pair<float, float> building{12.0f, 26.0f};  ///< m, side of a building: least, most
    std::pair<float, float> height{6.0f, 30.0f};     ///< m
    float nodeSpacing = 10.0f;                       ///< m between path nodes along a street or alley
    int copsOnFoot = 4;
    int copCars = 2;  ///< two cops in each
    int helis = 0;
    int parkedCars = 20;  ///< free cars the player may take
    int covers = 4;       ///< roofed stretches of street (underpasses) that hide a ped from above
    std::pair<float, float> copDistance{25.0f, 70.0f};  ///< m from the player where cops start
    std::pair<float, float> runSpeed{4.5f, 6.0f};       ///< m/s, each cop's own
};

/// What a town adds to a world: its buildings, path nodes and entities, and where the player starts.
struct Town {
    std::vector<Box> boxes;
    std::vector<Vec3> nodes;
    std::vector<PedSpec> peds;
    std::vector<VehicleSpec> vehicles;
    Vec3 playerPos;
};

/// How many stretches of street, between two crossings, a town of that layout has: the most covers
/// it can hold.
int TownStreetStretches(const TownLayout& layout);

/// The town of that layout and seed; the same seed gives the same town on every machine.
Town BuildTown(const TownLayout& layout, std::uint32_t seed);

/// The ids a town of that layout gives its peds and vehicles, whatever the seed: cop1.., police1 with
/// police1driver and police1mate.., heli1 with heli1pilot.., car1...
std::vector<std::string> TownPedIds(const TownLayout& layout);
std::vector<std::string> TownVehicleIds(const TownLayout& layout);

}  // namespace sandbox
