#include "search/foot/search_area.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/settings.h"
#include "records/records.h"
#include "records/scene.h"

namespace {
constexpr float kMinSweepSpan = 15.0f;
constexpr float kNearZoneFactor = 1.2f;
}  // namespace

CVector SearchTarget(const CopState& cop, const Scene& scene) {
    const bool ownIsCurrent = static_cast<std::int32_t>(cop.foot.ownSceneTime - scene.sceneTime) >= 0;
    return cop.foot.ownSceneValid && ownIsCurrent ? cop.foot.ownScene : scene.scenePos;
}

float SearchRadiusR() { return std::max(cfg.SearchRadius, cfg.StandOffDist + kMinSweepSpan); }

float SweepSpan() { return std::max(SearchRadiusR() - cfg.StandOffDist, kMinSweepSpan); }

bool InNearZone(float distanceToTarget) { return distanceToTarget <= kNearZoneFactor * SearchRadiusR(); }
