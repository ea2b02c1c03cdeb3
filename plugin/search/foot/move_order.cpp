#include "search/foot/move_order.h"

#include <algorithm>

#include "base/game_clock.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/scripting.h"
#include "records/records.h"
#include "search/foot/search_area.h"
#include "search/ped_orders.h"

namespace {

// Paths wind: the budget allows for a way 1.6 times the straight distance.
constexpr double kDetourFactor = 1.6;

struct Pace {
    double speed;  // m/s the plugin assumes for the move state
    double fixedMs;
    double minMs;
    double maxMs;
};

}  // namespace

MovePlan PlanMove(MoveKind kind, std::int32_t moveStyle, float distance) {
    const bool runner = moveStyle == 1;
    int state = 0;
    Pace pace{};
    if (kind == MoveKind::travel) {
        state = runner ? host::kMoveStateRun : cfg.JogMoveState;
        pace = {runner ? 5.5 : 3.5, 3000.0, 5000.0, 40000.0};
    } else {
        state = runner ? cfg.JogMoveState : host::kMoveStateWalk;
        pace = {runner ? 3.5 : 1.6, 2500.0, 4000.0, 30000.0};
    }
    double t = static_cast<double>(distance) * kDetourFactor / pace.speed * 1000.0 + pace.fixedMs;
    t = std::min(t, pace.maxMs);
    if (t < pace.minMs) t = pace.minMs;
    return {state, static_cast<std::uint32_t>(t)};
}

void GiveMoveOrder(CPed& ped, const CopState& cop, const MovePlan& plan, std::uint32_t now) {
    const CVector& to = cop.foot.stepTarget;
    if (cfg.Pathfinding != 0 && !Pending(now, cop.watch.straightUntil)) {
        // The host gets no time limit on the path; our own deadline still ends the step.
        plugin::scripting::CallCommandById(host::kCommandFollowPath, HandleOf(ped), to.x, to.y, to.z,
                                           plan.moveState, -1);
    } else {
        plugin::scripting::CallCommandById(host::kCommandGoStraight, HandleOf(ped), to.x, to.y, to.z,
                                           plan.moveState, static_cast<int>(plan.budgetMs));
    }
}

bool Arrived(const CVector& position, const CopState& cop) {
    return Distance2D(position, cop.foot.stepTarget) < cfg.WaypointArriveDist;
}
