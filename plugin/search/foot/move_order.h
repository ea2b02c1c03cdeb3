#pragma once

#include <cstdint>

class CPed;
struct CopState;
struct CVector;

enum class MoveKind { travel, sweep };

/// The host move state and the time the plugin allows for one move step.
struct MovePlan {
    int moveState;
    std::uint32_t budgetMs;
};

/// Move state and time budget for a step of that kind over `distance` metres.
MovePlan PlanMove(MoveKind kind, std::int32_t moveStyle, float distance);
/// Sends the cop to `stepTarget`: along the paths, or straight for a while after the watchdog.
void GiveMoveOrder(CPed& ped, const CopState& cop, const MovePlan& plan, std::uint32_t now);
/// He is within WaypointArriveDist of `stepTarget`.
bool Arrived(const CVector& position, const CopState& cop);
