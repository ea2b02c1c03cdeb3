#include "search/foot/move_watchdog.h"

#include "base/game_clock.h"
#include "base/log.h"
#include "records/records.h"
#include "search/foot/search_area.h"
#include "search/foot/search_steps.h"
#include "search/ped_orders.h"

namespace {
constexpr std::uint32_t kCheckEveryMs = 2501;
constexpr float kMinProgress = 1.0f;
constexpr std::uint32_t kStraightForMs = 10000;
}  // namespace

bool MovementWatchdog(CPed& ped, CopState& cop, const CVector& position, std::uint32_t now) {
    if (cop.foot.searchStep != kStepTravel && cop.foot.searchStep != kStepSweep) {
        cop.watch.watchTime = 0;
        return false;
    }
    if (cop.watch.watchTime == 0) {
        cop.watch.watchPos = position;
        cop.watch.watchTime = now;
        return false;
    }
    if (!Elapsed(now, cop.watch.watchTime, kCheckEveryMs)) return false;
    const float moved = Distance2D(cop.watch.watchPos, position);
    cop.watch.watchPos = position;
    cop.watch.watchTime = now;
    // A cop climbing out of a car stands still for good reason.
    if (moved >= kMinProgress || LeavingVehicle(ped)) return false;
    LogLine("watchdog: cop is not moving, new order (straight line for 10 s): ped=%p step=%d",
            static_cast<void*>(&ped), cop.foot.searchStep);
    cop.watch.straightUntil = DeadlineAfter(now, kStraightForMs);
    FlushTasks(ped);
    cop.foot.RestartStep();
    return true;
}
