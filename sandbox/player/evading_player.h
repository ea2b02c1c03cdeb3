#pragma once

#include <cstdint>
#include <vector>

#include "geometry/vec3.h"
#include "player/cop_memory.h"
#include "player/escape_routes.h"
#include "world/world_description.h"

namespace sandbox {

class World;
struct Ped;

/// A player who tries to get away by himself: he looks round every so often, runs from the cops he
/// sees towards places they cannot see along ways that do not lead him past them, takes a free car
/// when it is nearer than the cops, hides under cover from a helicopter, and stays hidden until a
/// cop comes near. A move the scenario gave him runs out first. His choices draw from
/// the world's generator, so each seed is another escape. See docs/host-model.md.
class EvadingPlayer {
public:
    explicit EvadingPlayer(const EvadeTraits& traits) : traits_(traits), sprintLeftMs_(kSprintMs) {}

    /// How long he sprints in a row before he tires to a run; standing still, he gets it back as fast.
    static constexpr std::uint32_t kSprintMs = 15000;

    /// Runs after the host's police, before anything moves, for a frame of `dtMs`.
    void Run(World& world, std::uint32_t dtMs);

private:
    /// Notes the cops he sees now; whether any cop is within his caution distance, seen or not (a
    /// helicopter's crew not while he is under cover).
    bool LookRound(World& world, const Ped& player);
    void Decide(World& world, Ped& player, bool copNear);
    /// Whether the rest of his way would take him towards a cop he knows of (`Exposed`).
    bool WayExposed(const World& world, const Ped& player, const std::vector<Vec3>& cops) const;
    /// Makes for the nearest cover he has a way to that passes no cop; false when there is none.
    bool TakeCover(World& world, Ped& player, const std::vector<Vec3>& cops);
    /// The shortest ways from where he stands that pass no cop, or with `cornered` any way.
    void PlanWays(const World& world, Vec3 me, const std::vector<Vec3>& cops, float longest, bool cornered);
    void GoTo(World& world, Ped& player, Vec3 to, float speed);
    void GoAlong(Ped& player, std::vector<Vec3> way, float speed);
    /// His speed on foot: a sprint while he has the breath for it, else a run.
    float FootSpeed() const;
    /// Spends his sprint while he sprints and gets it back while he stands.
    void Breathe(Ped& player, std::uint32_t dtMs);
    /// Gets into the car he was making for once he stands at it; false when he is not at one.
    bool BoardCar(World& world, Ped& player);

    EvadeTraits traits_;
    std::uint32_t nextLook_ = 0;  ///< host ms; 0: look at once
    CopMemory memory_;            ///< the cops he has seen lately
    int car_ = -1;                ///< vehicle pool slot he is making for, -1 none
    Vec3 spot_;                   ///< where his current move ends
    std::uint32_t sprintLeftMs_;  ///< how much longer he can sprint before he tires
    bool toCover_ = false;        ///< his current move ends under cover
    bool cornered_ = false;       ///< his current move is his way out of a corner, past the cops
    EscapeRoutes ways_;           ///< the last plan of his ways out
};

}  // namespace sandbox
