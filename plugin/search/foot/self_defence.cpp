#include "search/foot/self_defence.h"

#include <cmath>

#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/ped.h"
#include "host/pools.h"
#include "host/scripting.h"
#include "host/vehicle.h"
#include "records/records.h"
#include "records/sighting.h"
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
    if (!(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z) < kStandingSpeed) ||
        Pending(now, cop.defence.defendOrderTime))
        return;
    cop.defence.defendOrderTime = DeadlineAfter(now, kLeaveCarRepeatMs);
    LogLine("defend: leaving car to fight: ped=%p", static_cast<void*>(&ped));
    if (!LeavingVehicle(ped)) plugin::scripting::CallCommandById(host::kCommandLeaveVehicle, HandleOf(ped));
}

void Attack(CPed& ped, CopState& cop, std::uint32_t now) {
    const bool sameTarget = cop.defence.defendTarget == cop.defence.attacker &&
                            cop.defence.defendTargetRef == cop.defence.attackerRef;
    if (sameTarget && Pending(now, cop.defence.defendOrderTime)) return;  // the order is still in force
    cop.defence.defendTarget = cop.defence.attacker;
    cop.defence.defendTargetRef = cop.defence.attackerRef;
    cop.defence.defendOrderTime = DeadlineAfter(now, kAttackRepeatMs);
    cop.defence.defending = true;
    LogLine("defend: attacking: ped=%p target=%p", static_cast<void*>(&ped),
            static_cast<void*>(cop.defence.attacker));
    plugin::scripting::CallCommandById(host::kCommandAttack, HandleOf(ped), cop.defence.attackerRef);
}

void Finish(CPed& ped, CopState& cop, bool onFoot) {
    if (!cop.defence.defending) return;
    LogLine("defend: finished: ped=%p", static_cast<void*>(&ped));
    cop.defence.StopDefending();
    // A cop who still knows where the player is goes back to the host's pursuit.
    if (onFoot && !cop.awareness.lost) FlushTasks(ped);
    cop.ForgetFootSearch();
}

}  // namespace

bool DefendStep(CPed& ped, CopState& cop, const CopSighting& s, std::uint32_t now) {
    if (cfg.DefendEnabled == 0 || s.inHeli) return false;
    if (cop.defence.attacker != nullptr) {
        if (Passed(now, cop.defence.defendUntil) || !AttackerStillThere(cop)) {
            cop.defence.DropAttacker();
        } else if (Distance2D(s.position, cop.defence.attacker->GetPosition()) <= cfg.DefendRange) {
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
