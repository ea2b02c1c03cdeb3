#include "police/wanted_clearing.h"

#include "police/pursuit_rule.h"
#include "world/world.h"

namespace sandbox {

namespace {

bool AnyCopPursues(World& world, const Ped& player) {
    for (int i = 0; i < world.Peds().Size(); ++i) {
        const Ped* cop = world.Peds().At(i);
        if (cop != nullptr && PursuesPlayer(*cop, player)) return true;
    }
    return false;
}

}  // namespace

void WantedClearing::Run(World& world) {
    const Ped* player = world.Player();
    const bool wanted = player != nullptr && player->m_fHealth > 0.0f && world.Wanted().m_nWantedLevel > 0;
    if (afterMs_ == 0 || !wanted || AnyCopPursues(world, *player)) {
        quietSince_.reset();
        return;
    }
    if (!quietSince_) quietSince_ = world.Now();
    // Unsigned difference: the host clock may wrap while the police are quiet.
    if (world.Now() - *quietSince_ < afterMs_) return;
    world.Wanted().m_nWantedLevel = 0;
    quietSince_.reset();
    cleared_ = true;
}

}  // namespace sandbox
