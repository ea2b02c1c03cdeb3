#include "awareness/suppression.h"

#include <algorithm>
#include <iterator>

#include "awareness/sight_test.h"
#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/ped.h"
#include "host/player.h"
#include "host/pools.h"
#include "host/scripting.h"
#include "host/vehicle.h"
#include "records/records.h"
#include "search/ped_orders.h"

namespace {

constexpr std::uint32_t kCriminalLogMs = 2001;
constexpr std::uint32_t kPursuitTaskCheckMs = 151;
constexpr std::uint32_t kLeaveCarRepeatMs = 1500;

bool CarriesPursuitTask(CPed& ped) {
    for (int task : host::kPursuitTasks) {
        if (ped.m_pIntelligence->m_TaskMgr.FindActiveTaskByType(task) != nullptr) return true;
    }
    return false;
}

// Drops every host task of the cop; his foot search starts over from its first step.
void FlushForSearch(CPed& ped, CopState& cop, std::uint32_t now) {
    FlushTasks(ped);
    cop.watch.flushTime = now;
    cop.foot.RestartStep();
}

void TakeOver(CPed& ped, CopState& cop, std::uint32_t now) {
    LogLine("flushing pursuit task: ped=%p", static_cast<void*>(&ped));
    FlushForSearch(ped, cop, now);
    cop.watch.pursuitFlushed = true;
    LogLine("pursuit task flushed: ped=%p", static_cast<void*>(&ped));
}

// Looked at before the record: most cops have nobody on their list.
bool Targets(const CPed& cop, const CPed* player) {
    return std::find(std::begin(cop.m_apCriminalsToKill), std::end(cop.m_apCriminalsToKill), player) !=
           std::end(cop.m_apCriminalsToKill);
}

}  // namespace

void CriminalListScrub(std::uint32_t now) {
    CPool<CPed>* pool = CPools::ms_pPedPool;
    CPed* player = FindPlayerPed(-1);
    if (pool == nullptr || player == nullptr) return;
    for (int i = 0, n = pool->GetSize(); i < n; ++i) {
        CPed* ped = pool->GetAt(i);
        if (ped == nullptr || ped->m_nPedType != PED_TYPE_COP || !Targets(*ped, player)) continue;
        CopState* cop = FindCop(ped);
        if (cop == nullptr || !cop->awareness.lost) continue;
        for (int slot = 0; slot < CPed::kCriminalSlots; ++slot) {
            if (ped->m_apCriminalsToKill[slot] != player) continue;
            ped->ClearCriminalListSlot(0, slot);
            if (Elapsed(now, cop->watch.antiLockLogTime, kCriminalLogMs)) {
                cop->watch.antiLockLogTime = now;
                LogLine("anti-lock: player removed from the criminal list of a cop that lost him: ped=%p",
                        static_cast<void*>(ped));
            }
        }
    }
}

bool ParkedCarHold(CPed& ped, CopState& cop, CVehicle* vehicle, std::uint32_t now) {
    if (cfg.VehicleSearch == 0 || vehicle == nullptr || IsPoliceHeli(vehicle)) return false;
    const VehicleState* car = FindVehicle(vehicle);
    if (car == nullptr || !car->ordered || !car->stopped) return false;
    if (!cop.awareness.lost) {
        LogLine("cop forced to stay lost until out of the parked car: ped=%p", static_cast<void*>(&ped));
    }
    cop.MarkLost(ped);
    // Neither his own sight nor the radio of this tick may let him chase from inside the car.
    cop.awareness.PastGrace(now);
    if (!Pending(now, cop.watch.leaveCarTime) && !LeavingVehicle(ped)) {
        cop.watch.leaveCarTime = DeadlineAfter(now, kLeaveCarRepeatMs);
        plugin::scripting::CallCommandById(host::kCommandLeaveVehicle, HandleOf(ped));
    }
    return true;
}

bool HoldLostCopOnFoot(CPed& ped, CopState& cop, std::uint32_t now) {
    ped.m_nPursuitSuppressed = 1;
    if (!cop.watch.pursuitFlushed) {
        if (LeavingVehicle(ped)) return false;
        TakeOver(ped, cop, now);
        return true;
    }
    if (!Elapsed(now, cop.watch.antiLockCheckTime, kPursuitTaskCheckMs)) return true;
    cop.watch.antiLockCheckTime = now;
    if (!CarriesPursuitTask(ped)) return true;
    LogLine("anti-lock: vanilla pursuit task on a cop that lost the player, flushing: ped=%p",
            static_cast<void*>(&ped));
    FlushForSearch(ped, cop, now);
    cop.foot.searchTaskGiven = false;
    return false;
}
