#include "police/arrest.h"

#include "world/world.h"

namespace sandbox {

namespace {

// The numbers are documented in docs/host-model.md, "Arrest".
constexpr float kReach = 3.5f;  // m, 2D: a chasing cop stops 3 m short of the player

bool CopHasHim(const Ped& cop, const Ped& player) {
    return cop.m_nPedType == PED_TYPE_COP && cop.m_fHealth > 0.0f && !cop.m_bInVehicle &&
           cop.HasPursuitTask() && Length2D(cop.Position() - player.Position()) <= kReach;
}

}  // namespace

void Arrest::Run(World& world, std::uint32_t dtMs) {
    const Ped* player = world.Player();
    const bool wanted = player != nullptr && player->m_fHealth > 0.0f && world.Wanted().m_nWantedLevel > 0;
    bool reached = false;
    if (holdMs_ > 0 && wanted && !player->m_bInVehicle) {
        for (int i = 0; i < world.Peds().Size() && !reached; ++i) {
            const Ped* cop = world.Peds().At(i);
            reached = cop != nullptr && cop != player && CopHasHim(*cop, *player);
        }
    }
    heldMs_ = reached ? heldMs_ + dtMs : 0;
    if (heldMs_ < holdMs_ || holdMs_ == 0) return;
    world.Wanted().m_nWantedLevel = 0;
    heldMs_ = 0;
    made_ = true;
}

}  // namespace sandbox
