#include "awareness/seeing_pass.h"

#include "awareness/disguise.h"
#include "records/records.h"
#include "records/scene.h"
#include "records/tick_context.h"

SeeingResult SeeingPass(TickContext& tick) {
    SeeingResult result;
    for (CopSighting& s : tick.sightings) {
        CopState& cop = RecordOf(s);
        if (cop.awareness.lastKnownTime == 0) FirstStamp(cop, tick.now);
        if (!s.seeing) continue;
        tick.disguise.Recognise(tick.playerVehicle);
        ++result.seeing;
        cop.awareness.lastKnownTime = tick.now;
        if (MayShare(s)) result.sceneShared = true;
    }
    if (result.seeing > 0) tick.scene.lastSeenAny = tick.now;
    if (result.sceneShared) tick.scene.MoveTo(tick.playerPos, tick.now);
    return result;
}
