#include "awareness/radio_pass.h"

#include "awareness/distance.h"
#include "awareness/records.h"
#include "awareness/tick_context.h"
#include "frame/settings.h"

void RadioPass(const TickContext& tick) {
    const float rangeSq = cfg.RadioRange * cfg.RadioRange;
    for (const CopSighting& listener : tick.sightings) {
        if (listener.seeing || (listener.inVehicle && cfg.RadioReachesCars == 0)) continue;
        for (const CopSighting& teller : tick.sightings) {
            if (!teller.seeing || !MayShare(teller) ||
                DistanceSq(listener.position, teller.position) > rangeSq)
                continue;
            GetCop(listener.ped).awareness.lastKnownTime = tick.now;
            break;
        }
    }
}
