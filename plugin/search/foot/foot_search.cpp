#include "search/foot/foot_search.h"

#include <cstdlib>

#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/ped.h"
#include "records/records.h"
#include "search/foot/aim_scan.h"
#include "search/foot/move_order.h"
#include "search/foot/move_watchdog.h"
#include "search/foot/search_area.h"
#include "search/foot/search_steps.h"
#include "search/ped_orders.h"

namespace {

// A look or aim found this far past its deadline was not watched in between (the cop was out of the
// list); the host may still be running it.
constexpr std::uint32_t kPauseOverrunMs = 1500;

bool Moving(std::int32_t step) { return step == kStepTravel || step == kStepSweep; }
bool Pausing(std::int32_t step) { return step == kStepLookAbout || step == kStepAimScan; }

void EndStep(CopState& cop) {
    cop.foot.lastStep = cop.foot.searchStep;
    cop.foot.searchStep = kStepNone;
}

// True when an aim scan was given, which is all the cop gets this tick.
bool TryAimScan(CPed& ped, CopState& cop, bool nearZone, std::uint32_t now) {
    if (Pending(now, cop.foot.aimDueTime) || cop.foot.searchStep == kStepTravel ||
        cop.foot.searchStep == kStepAimScan || !nearZone) {
        return false;
    }
    // Re-armed either way: a cop without a loaded gun tries again one interval later.
    ArmAimTimer(cop, now);
    const int weapon = LoadedFirearm(ped);
    if (weapon == 0) return false;
    GiveAimScan(ped, cop, weapon, now);
    return true;
}

// True when the current step is over (or there is none) and a new one is due this tick.
bool StepOver(CPed& ped, CopState& cop, const CVector& position, std::uint32_t now) {
    if (Pausing(cop.foot.searchStep)) {
        if (Passed(now, cop.foot.stepUntil + kPauseOverrunMs)) {
            LogLine("watchdog: aim/look task did not end, flushing: ped=%p", static_cast<void*>(&ped));
            FlushTasks(ped);
            cop.foot.RestartStep();
            return true;
        }
        if (Pending(now, cop.foot.stepUntil)) return false;
        EndStep(cop);
        return true;
    }
    if (Moving(cop.foot.searchStep)) {
        if (!Arrived(position, cop) && Pending(now, cop.foot.stepUntil)) return false;
        EndStep(cop);
    }
    return true;
}

void ChooseNextStep(CPed& ped, CopState& cop, const CVector& position, const CVector& target,
                    std::uint32_t now) {
    const float d = Distance2D(position, target);
    if (!InNearZone(d)) {
        GiveTravel(ped, cop, position, target, d, now);
        return;
    }
    // The chance is drawn only when a pause would be allowed at all.
    if (Moving(cop.foot.lastStep) && cop.foot.movesSincePause >= cfg.MinMovesBetweenPauses &&
        std::rand() % 100 < cfg.LookChance) {
        GiveLookAbout(ped, cop, now);
        return;
    }
    GiveSweep(ped, cop, position, target, now);
}

}  // namespace

void FootSearchTick(CPed& ped, CopState& cop, const Scene& scene, std::uint32_t now) {
    const CVector position = ped.GetPosition();
    const CVector target = SearchTarget(cop, scene);
    if (!cop.foot.searchTaskGiven) cop.foot.aimDueTime = 0;
    if (cop.foot.aimDueTime == 0) ArmAimTimer(cop, now);
    if (TryAimScan(ped, cop, InNearZone(Distance2D(position, target)), now)) return;
    const bool stuck = MovementWatchdog(ped, cop, position, now);
    if (!stuck && !StepOver(ped, cop, position, now)) return;
    ChooseNextStep(ped, cop, position, target, now);
}
