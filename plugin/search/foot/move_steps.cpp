// Travel and sweep: the two steps that move the cop.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "records/records.h"
#include "search/foot/destination.h"
#include "search/foot/move_order.h"
#include "search/foot/search_area.h"
#include "search/foot/search_steps.h"

namespace {

constexpr double kStandOffJitter = 6.0;  // m beyond StandOffDist
constexpr double kLegRadiusStep = 7.0;   // m per leg, wrapped into the sweep span
constexpr double kLegTurn = 0.9;         // rad per leg
constexpr double kAngleJitter = 0.35;    // rad either way
constexpr float kMinDirection = 1.0f;    // m; closer than this his own side is undefined

// (rand() % 1000) / 999 scaled to [0, scale].
double Fraction(double scale) { return static_cast<double>(std::rand() % 1000) * scale / 999.0; }

void Started(CopState& cop, std::int32_t step, const MovePlan& plan, std::uint32_t now) {
    cop.foot.searchStep = step;
    cop.foot.stepUntil = DeadlineAfter(now, plan.budgetMs);
    cop.foot.searchTaskGiven = true;
}

}  // namespace

void GiveTravel(CPed& ped, CopState& cop, const CVector& position, const CVector& target, float distance,
                std::uint32_t now) {
    const double standOff = static_cast<double>(cfg.StandOffDist) + Fraction(kStandOffJitter);
    double ux = 1.0;
    double uy = 0.0;
    if (distance >= kMinDirection) {
        ux = static_cast<double>(position.x - target.x) / static_cast<double>(distance);
        uy = static_cast<double>(position.y - target.y) / static_cast<double>(distance);
    }
    cop.foot.stepTarget = FinishDestination(static_cast<float>(target.x + standOff * ux),
                                            static_cast<float>(target.y + standOff * uy), target.z);
    // The budget covers the way to the target itself, not just to the stand-off point.
    const MovePlan plan = PlanMove(MoveKind::travel, cop.foot.moveStyle, distance);
    LogLine("traveling to the scene: ped=%p style=%d dist=%.1f mode=%d", static_cast<void*>(&ped),
            cop.foot.moveStyle, static_cast<double>(distance), plan.moveState);
    GiveMoveOrder(ped, cop, plan, now);
    Started(cop, kStepTravel, plan, now);
    LogLine("travel task done: ped=%p", static_cast<void*>(&ped));
}

void GiveSweep(CPed& ped, CopState& cop, const CVector& position, const CVector& target, std::uint32_t now) {
    const int k = cop.foot.sweepLeg;
    const auto span = static_cast<double>(SweepSpan());
    const double r = static_cast<double>(cfg.StandOffDist) + std::fmod(kLegRadiusStep * k, span);
    const double a =
        kLegTurn * k + static_cast<double>(cop.foot.sweepPhase) + Fraction(2.0 * kAngleJitter) - kAngleJitter;
    ++cop.foot.sweepLeg;
    ++cop.foot.movesSincePause;
    cop.foot.stepTarget = FinishDestination(static_cast<float>(target.x + r * std::cos(a)),
                                            static_cast<float>(target.y + r * std::sin(a)), target.z);
    const MovePlan plan =
        PlanMove(MoveKind::sweep, cop.foot.moveStyle, Distance2D(position, cop.foot.stepTarget));
    LogLine("sweeping: ped=%p style=%d mode=%d leg=%d r=%.1f", static_cast<void*>(&ped), cop.foot.moveStyle,
            plan.moveState, cop.foot.sweepLeg, r);
    GiveMoveOrder(ped, cop, plan, now);
    Started(cop, kStepSweep, plan, now);
    LogLine("sweep task done: ped=%p", static_cast<void*>(&ped));
}
