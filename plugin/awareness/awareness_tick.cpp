#include "awareness/awareness_tick.h"

#include "awareness/gunshot.h"
#include "awareness/records.h"
#include "frame/log.h"
#include "search/vehicle/car_guard.h"

namespace {
// Counts of the last summary line; -1 so that the first tick of the process always writes one.
int loggedSeeing = -1;
int loggedLost = -1;
}  // namespace

void AwarenessTick(std::uint32_t now) {
    sightings.clear();
    UpdateDisguise();
    const int seeing = 0;
    const int lost = 0;
    const int sceneShared = 0;
    VehicleRecordPass(now);
    if (seeing != loggedSeeing || lost != loggedLost) {
        LogLine("cops: total=%d seeing=%d lost=%d sceneShared=%d", static_cast<int>(sightings.size()), seeing,
                lost, sceneShared);
        loggedSeeing = seeing;
        loggedLost = lost;
    }
}
