#include "awareness/suppression.h"

#include "awareness/records.h"
#include "frame/frame_state.h"
#include "frame/log.h"
#include "host/ped.h"
#include "host/player.h"
#include "host/pools.h"

namespace {
constexpr std::uint32_t kCriminalLogMs = 2001;
}  // namespace

void CriminalListScrub(std::uint32_t now) {
    CPool<CPed>* pool = CPools::ms_pPedPool;
    CPed* player = FindPlayerPed(-1);
    if (pool == nullptr || player == nullptr) return;
    for (int i = 0, n = pool->GetSize(); i < n; ++i) {
        CPed* ped = pool->GetAt(i);
        if (ped == nullptr || ped->m_nPedType != PED_TYPE_COP) continue;
        CopState* cop = FindCop(ped);
        if (cop == nullptr || !cop->lost) continue;
        for (int slot = 0; slot < CPed::kCriminalSlots; ++slot) {
            if (ped->m_apCriminalsToKill[slot] != player) continue;
            ped->ClearCriminalListSlot(0, slot);
            if (Elapsed(now, cop->antiLockLogTime, kCriminalLogMs)) {
                cop->antiLockLogTime = now;
                LogLine("anti-lock: player removed from the criminal list of a cop that lost him: ped=%p",
                        static_cast<void*>(ped));
            }
        }
    }
}
