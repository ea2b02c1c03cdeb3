#include "police/arrest.h"

#include "police/pursuit_rule.h"
#include "world/world.h"

namespace sandbox {

namespace {

// The numbers are documented in docs/host-model.md, "Arrest".
constexpr float kReach = 3.5f;  // m, 2D: a chasing cop stops 3 m short of the player

// A player who runs faster than the cop drags himself out of that cop's reach: only a cop at least as
// fast as he moves holds him.
bool CopHasHim(const Ped& cop, const Ped& player) {
    const float running = player.moving ? player.move.speed : 0.0f;
    return !cop.m_bInVehicle && PursuesPlayer(cop, player) && running <= cop.runSpeed &&
           Length2D(cop.Position() - player.Position()) <= kReach;
}

}  // namespace

void Arrest::Run(World& world, std::uint32_t dtMs) {
    const Ped* player = world.Player();
    const bool wanted = player != nullptr && player->m_fHealth > 0.0f && world.Wanted().m_nWantedLevel > 0;
    bool reached = false;
    if (holdMs_ > 0 && wanted && !player->m_bInVehicle) {
        for (int i = 0; i < world.Peds().Size() && !reached; ++i) {
            const Ped* cop = world.Peds().At(i);
            reached = cop != nullptr && CopHasHim(*cop, *player);
        }
    }
    heldMs_ = reached ? heldMs_ + dtMs : 0;
    if (heldMs_ < holdMs_ || holdMs_ == 0) return;
    world.Wanted().m_nWantedLevel = 0;
    heldMs_ = 0;
    made_ = true;
}

}  // namespace sandbox
