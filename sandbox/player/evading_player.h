#pragma once

#include <cstdint>
#include <vector>

#include "geometry/vec3.h"
#include "world/world_description.h"

namespace sandbox {

class World;
struct Ped;

/// A player who tries to get away by himself: he looks round every so often, runs from the cops he
/// sees towards places they cannot see, takes a free car when it is nearer than the cops, and stays
/// hidden until a cop comes near. A move the scenario gave him runs out first. His choices draw from
/// the world's generator, so each seed is another escape. See docs/host-model.md.
class EvadingPlayer {
public:
    explicit EvadingPlayer(const EvadeTraits& traits) : traits_(traits) {}

    /// Runs after the host's police, before anything moves.
    void Run(World& world);

private:
    struct Sighting {
        int slot;          ///< the cop's ped pool slot
        Vec3 pos;          ///< where he was
        std::uint32_t at;  ///< host ms
    };

    /// Notes the cops he sees now; whether any cop is within his caution distance, seen or not.
    bool LookRound(World& world, const Ped& player);
    void Decide(World& world, Ped& player, bool copNear);
    void GoTo(World& world, Ped& player, Vec3 to, float speed);
    /// Gets into the car he was making for once he stands at it; false when he is not at one.
    bool BoardCar(World& world, Ped& player);

    EvadeTraits traits_;
    std::uint32_t nextLook_ = 0;  ///< host ms; 0: look at once
    std::vector<Sighting> seen_;  ///< the cops he has seen lately, one entry per cop
    int car_ = -1;                ///< vehicle pool slot he is making for, -1 none
    Vec3 spot_;                   ///< where his current move ends
};

}  // namespace sandbox
