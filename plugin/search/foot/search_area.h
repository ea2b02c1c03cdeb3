#pragma once

#include "host/vector.h"
#include "search/search_math.h"

struct CopState;
struct Scene;

/// Where this cop searches: his own point from the car that dropped him while it is not older than
/// the scene, else the scene.
CVector SearchTarget(const CopState& cop, const Scene& scene);
/// The radius the sweeps are laid out on: never so small that the legs would bunch at the stand-off.
float SearchRadiusR();
/// How far the sweep radius wanders beyond StandOffDist: at least 15 m.
float SweepSpan();
/// Inside the near zone a cop sweeps instead of travelling.
bool InNearZone(float distanceToTarget);
