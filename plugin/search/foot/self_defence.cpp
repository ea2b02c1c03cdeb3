#include "search/foot/self_defence.h"

#include <cmath>

#include "awareness/records.h"
#include "frame/game_clock.h"
#include "frame/log.h"
#include "frame/settings.h"
#include "host/constants.h"
#include "host/ped.h"
#include "host/pools.h"
#include "host/scripting.h"
#include "host/vehicle.h"
#include "search/foot/attacker.h"
#include "search/foot/foot_search.h"
#include "search/foot/search_area.h"
#include "search/ped_orders.h"

namespace {

constexpr float kStandingSpeed = 0.05f;  // m/s; slower than this a car counts as stopped
constexpr std::uint32_t kLeaveCarRepeatMs = 4000;
constexpr std::uint32_t kAttackRepeatMs = 10000;

void LeaveCarToFight(CPed& ped, CopState& cop, const CVehicle& vehicle, std::uint32_t now) {
    const CVector& v = vehicle.m_vecMoveSpeed;
    if (!(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z) < kStandingSpeed) || Pending(now, cop.defendOrderTime))
        return;
    cop.defendOrderTime = DeadlineAfter(now, kLeaveCarRepeatMs);
    LogLine("defend: leaving car to fight: ped=%p", static_cast<void*>(&ped));
    if (!LeavingVehicle(ped)) plugin::scripting::CallCommandById(host::kCommandLeaveVehicle, HandleOf(ped));
}

void Attack(CPed& ped, CopState& cop, std::uint32_t now) {
    const bool sameTarget = cop.defendTarget == cop.attacker && cop.defendTargetRef == cop.attackerRef;
    if (sameTarget && Pending(now, cop.defendOrderTime)) return;  // the order is still in force
    cop.defendTarget = cop.attacker;
    cop.defendTargetRef = cop.attackerRef;
    cop.defendOrderTime = DeadlineAfter(now, kAttackRepeatMs);
    cop.defending = true;
    LogLine("defend: attacking: ped=%p target=%p", static_cast<void*>(&ped),
            static_cast<void*>(cop.attacker));
    plugin::scripting::CallCommandById(host::kCommandAttack, HandleOf(ped), cop.attackerRef);
}

void Finish(CPed& ped, CopState& cop, bool onFoot) {
    if (!cop.defending) return;
    LogLine("defend: finished: ped=%p", static_cast<void*>(&ped));
    cop.defending = false;
    cop.defendTarget = nullptr;
    cop.defendTargetRef = -1;
    // A cop who still knows where the player is goes back to the host's pursuit.
    if (onFoot && !cop.lost) FlushTasks(ped);
    ForgetFootSearch(cop);
}

}  // namespace

bool DefendStep(CPed& ped, CopState& cop, const CopSighting& s, std::uint32_t now) {
    if (cfg.DefendEnabled == 0 || s.inHeli) return false;
    if (cop.attacker != nullptr) {
        if (Passed(now, cop.defendUntil) || !AttackerStillThere(cop)) {
            cop.attacker = nullptr;
            cop.attackerRef = -1;
        } else if (Distance2D(s.position, cop.attacker->GetPosition()) <= cfg.DefendRange) {
            if (s.inVehicle) {
                LeaveCarToFight(ped, cop, *ped.m_pVehicle, now);
                return false;
            }
            Attack(ped, cop, now);
            return true;
        }
    }
    Finish(ped, cop, !s.inVehicle);
    return false;
}
