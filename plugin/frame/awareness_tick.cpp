#include "frame/awareness_tick.h"

#include <vector>

#include "awareness/disguise.h"
#include "awareness/radio_pass.h"
#include "awareness/seeing_pass.h"
#include "awareness/sight_pass.h"
#include "awareness/sight_test.h"
#include "awareness/summary.h"
#include "base/settings.h"
#include "frame/cop_pass.h"
#include "host/ped.h"
#include "host/player.h"
#include "records/records.h"
#include "records/tick_context.h"
#include "search/foot/hit_detection.h"
#include "search/vehicle/car_guard.h"

namespace {
// The sighting list; cleared each tick but kept, so that its storage is reused.
std::vector<CopSighting> sightingList;
}  // namespace

// The passes run in this order, and the order matters: each reads what the ones before it wrote.
void AwarenessTick(std::uint32_t now, Scene& scene, Disguise& disguise) {
    sightingList.clear();
    CPlayerPed* player = FindPlayerPed(-1);
    const int playerVehicle = PlayerVehicleRef(player);
    disguise.Update(playerVehicle);
    SeeingResult seen;
    int lost = 0;
    if (player != nullptr) {
        TickContext tick{now,
                         *player,
                         player->GetPosition(),
                         SeatedVehicle(*player) == nullptr,
                         playerVehicle,
                         sightingList,
                         scene,
                         disguise};
        // Reads the records as the last tick left them, and the disguise.
        BuildSightings(tick);
        if (!copStates.empty()) PurgeCopRecords();
        // Hits: health against the last tick's; writes the defence part of the cops hit and near them.
        if (cfg.DefendEnabled != 0 && !sightingList.empty()) DetectAttacks(tick);
        // Creates and first-stamps the records, stamps the seeing cops, moves the scene.
        seen = SeeingPass(tick);
        // Stamps listeners near a seeing cop; needs every record stamped first.
        RadioPass(tick);
        // Per cop: vehicle, defence, parked-car hold, loss test, search.
        lost = CopPass(tick);
        // Read by every frame's criminal-list scrub until the next tick.
        RecountLostCops();
    }
    VehicleRecordPass(now);
    SummaryLine(static_cast<int>(sightingList.size()), seen.seeing, lost, seen.sceneShared);
}
