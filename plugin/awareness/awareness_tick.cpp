#include "awareness/awareness_tick.h"

#include "awareness/cop_pass.h"
#include "awareness/gunshot.h"
#include "awareness/records.h"
#include "awareness/seeing_pass.h"
#include "awareness/sight_pass.h"
#include "awareness/summary.h"
#include "frame/settings.h"
#include "host/ped.h"
#include "host/player.h"
#include "search/foot/self_defence.h"
#include "search/vehicle/car_guard.h"

void AwarenessTick(std::uint32_t now) {
    sightings.clear();  // keeps its storage for the next tick
    UpdateDisguise();
    SeeingResult seen;
    int lost = 0;
    if (CPlayerPed* player = FindPlayerPed(-1)) {
        const CVector P = player->GetPosition();
        BuildSightings(*player, now);
        if (!copStates.empty()) PurgeCopRecords();
        if (cfg.DefendEnabled != 0 && !sightings.empty()) DetectAttacks(now);
        seen = SeeingPass(P, now);
        RadioPass(now);
        lost = CopPass(now);
    }
    VehicleRecordPass(now);
    SummaryLine(static_cast<int>(sightings.size()), seen.seeing, lost, seen.sceneShared);
}
