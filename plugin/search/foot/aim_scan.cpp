#include "search/foot/aim_scan.h"

#include <cmath>
#include <cstdlib>

#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/ped.h"
#include "host/scripting.h"
#include "records/records.h"
#include "search/foot/random_span.h"
#include "search/foot/search_steps.h"
#include "search/ped_orders.h"

namespace {

constexpr float kAimHeight = 0.8f;           // m above his feet: about chest height
constexpr std::uint32_t kAimSettleMs = 200;  // the aim counts a little past its own time

}  // namespace

void ArmAimTimer(CopState& cop, std::uint32_t now) {
    cop.foot.aimDueTime = DeadlineAfter(now, DrawBetween(cfg.AimMinMs, cfg.AimMaxMs));
}

int LoadedFirearm(const CPed& ped) {
    for (const CWeapon& weapon : ped.m_aWeapons) {
        if (host::IsFirearm(weapon.m_eWeaponType) && weapon.m_nTotalAmmo != 0) {
            return weapon.m_eWeaponType;
        }
    }
    return 0;
}

void GiveAimScan(CPed& ped, CopState& cop, int weapon, std::uint32_t now) {
    const double h = static_cast<double>(ped.GetHeading());
    const double facing = std::atan2(std::cos(h), -std::sin(h));
    // Three draws, always in this order.
    const double angle = facing + static_cast<double>(std::rand() % 1000) * 2.0 / 999.0 - 1.0;
    const double reach = 8.0 + static_cast<double>(std::rand() % 1000) * 8.0 / 999.0;
    const int t = 1500 + std::rand() % 1500;
    LogLine("aim scan: ped=%p weapon=%d time=%d", static_cast<void*>(&ped), weapon, t);
    const CVector& p = ped.GetPosition();
    plugin::scripting::CallCommandById(host::kCommandSetWeapon, HandleOf(ped), weapon);
    plugin::scripting::CallCommandById(
        host::kCommandAimAt, HandleOf(ped), static_cast<float>(p.x + reach * std::cos(angle)),
        static_cast<float>(p.y + reach * std::sin(angle)), p.z + kAimHeight, t);
    cop.foot.movesSincePause = 0;
    cop.foot.searchStep = kStepAimScan;
    cop.foot.stepUntil = DeadlineAfter(now, t + kAimSettleMs);
    cop.foot.alertUntil = cop.foot.stepUntil;
    cop.foot.searchTaskGiven = true;
    LogLine("aim scan done: ped=%p", static_cast<void*>(&ped));
}
