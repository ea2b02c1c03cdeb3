#include "awareness/seeing_pass.h"

#include "awareness/gunshot.h"
#include "awareness/records.h"
#include "frame/frame_state.h"
#include "frame/settings.h"

namespace {

// A helicopter crew tells nobody unless the settings let it share what it sees.
bool MayShare(const CopSighting& s) { return !s.inHeli || cfg.HeliSharesScene != 0; }

float DistanceSq(const CVector& a, const CVector& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

}  // namespace

SeeingResult SeeingPass(const CVector& P, std::uint32_t now) {
    SeeingResult result;
    for (const CopSighting& s : sightings) {
        CopState& cop = GetCop(s.ped);
        if (cop.awareness.lastKnownTime == 0) FirstStamp(cop, now);
        if (!s.seeing) continue;
        RecogniseVehicle();
        ++result.seeing;
        cop.awareness.lastKnownTime = now;
        if (MayShare(s)) result.sceneShared = true;
    }
    if (result.seeing > 0) lastSeenAny = now;
    if (result.sceneShared) {
        scenePos = P;
        sceneValid = true;
        sceneTime = now;
    }
    return result;
}

void RadioPass(std::uint32_t now) {
    const float rangeSq = cfg.RadioRange * cfg.RadioRange;
    for (const CopSighting& listener : sightings) {
        if (listener.seeing || (listener.inVehicle && cfg.RadioReachesCars == 0)) continue;
        for (const CopSighting& teller : sightings) {
            if (!teller.seeing || !MayShare(teller) || DistanceSq(listener.position, teller.position) > rangeSq) continue;
            GetCop(listener.ped).awareness.lastKnownTime = now;
            break;
        }
    }
}
