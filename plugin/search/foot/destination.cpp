#include "search/foot/destination.h"

#include "base/log.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/scripting.h"
#include "host/world.h"
#include "search/foot/search_area.h"

namespace {

constexpr float kMaxSnapDist = 25.0f;
// The first few snaps show that the node query works; after that they would flood the log.
constexpr int kLoggedSnaps = 3;

int snapLogCount = 0;  // for the life of the process

CVector SnapToNode(const CVector& point) {
    const bool logged = snapLogCount < kLoggedSnaps;
    if (logged) LogLine("snap: asking for closest ped node");
    CVector node{0.0f, 0.0f, 0.0f};
    plugin::scripting::CallCommandById(host::kCommandClosestPedNode, point.x, point.y, point.z, &node.x,
                                       &node.y, &node.z);
    if (logged) {
        LogLine("snap: node=%.1f,%.1f,%.1f", static_cast<double>(node.x), static_cast<double>(node.y),
                static_cast<double>(node.z));
        ++snapLogCount;
    }
    // The host leaves the results at zero when it has no node at all.
    if (node.x == 0.0f && node.y == 0.0f && node.z == 0.0f) return point;
    return Distance2D(node, point) > kMaxSnapDist ? point : node;
}

}  // namespace

CVector FinishDestination(float x, float y, float fallbackZ) {
    const float ground = CWorld::FindGroundZForCoord(x, y);
    const CVector point{x, y, ground > kNoGroundZ ? ground : fallbackZ};
    return cfg.SnapToNodes != 0 ? SnapToNode(point) : point;
}
