#include "search/foot/hit_detection.h"

#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/ped.h"
#include "host/pools.h"
#include "records/distance.h"
#include "records/records.h"
#include "records/tick_context.h"
#include "search/foot/attacker.h"

namespace {

// Less than this is rounding in the host's health, not a hit.
constexpr float kHitThreshold = 0.5f;

void Assign(CopState& cop, CPed& attacker, std::uint32_t now) {
    cop.defence.attacker = &attacker;
    cop.defence.attackerRef = CPools::GetPedRef(&attacker);
    cop.defence.defendUntil = DeadlineAfter(now, cfg.DefendDurationMs);
    cop.defence.defendOrderTime = 0;  // the next order goes out at once
}

void Share(TickContext& tick, const CopSighting& hit, CPed& attacker) {
    const std::uint32_t now = tick.now;
    const float rangeSq = cfg.DefendShareRange * cfg.DefendShareRange;
    for (CopSighting& s : tick.sightings) {
        if (s.inHeli) continue;
        if (s.ped == hit.ped) {
            Assign(RecordOf(s), attacker, now);
            continue;
        }
        if (DistanceSq(s.position, hit.position) > rangeSq) continue;
        CopState& cop = RecordOf(s);
        // A cop busy with his own attacker keeps him until that defence runs out.
        if (cop.defence.attacker != nullptr && Pending(now, cop.defence.defendUntil)) continue;
        Assign(cop, attacker, now);
    }
}

}  // namespace

void DetectAttacks(TickContext& tick) {
    for (CopSighting& s : tick.sightings) {
        CopState& cop = RecordOf(s);
        const float current = s.ped->m_fHealth + s.ped->m_fArmour;
        const float previous = cop.defence.lastHealth;
        cop.defence.lastHealth = current;
        if (!(previous > 0.0f && current < previous - kHitThreshold)) continue;
        CPed* attacker = AttackerOf(*s.ped);
        if (attacker == nullptr) continue;
        LogLine("defend: cop attacked: ped=%p attacker=%p type=%d", static_cast<void*>(s.ped),
                static_cast<void*>(attacker), attacker->m_nPedType);
        Share(tick, s, *attacker);
    }
}
