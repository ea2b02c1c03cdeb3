#include "awareness/gunshot.h"

#include "awareness/sight_test.h"
#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/ped.h"
#include "host/player.h"
#include "host/pools.h"
#include "records/distance.h"
#include "records/records.h"
#include "records/scene.h"

namespace {

constexpr std::uint32_t kSceneMoveEveryMs = 800;
constexpr std::uint32_t kCheckEveryMs = 200;

std::uint32_t lastShotHeardTime = 0;
std::uint32_t lastShotCheckTime = 0;

// The player's weapon, when he is firing a gun whose shot carries.
const CWeapon* FiringGun(const CPed& player) {
    const int slot = player.m_nActiveWeaponSlot;
    if (slot < 0 || slot >= CPed::kWeaponSlots) return nullptr;
    const CWeapon& weapon = player.m_aWeapons[slot];
    if (weapon.m_nState != WEAPONSTATE_FIRING || !host::IsFirearm(weapon.m_eWeaponType)) {
        return nullptr;
    }
    return &weapon;
}

// A lost cop searching on foot starts over towards the new scene; nobody else changes.
void RestartSearch(CPed& cop) {
    CopState* record = FindCop(&cop);
    if (record == nullptr || !record->awareness.lost || !record->watch.pursuitFlushed ||
        record->defence.defending || SeatedVehicle(cop)) {
        return;
    }
    record->foot.RestartTowardsScene();
}

bool CopsHear(const CPed& player, const CVector& P, float range) {
    CPool<CPed>* pool = CPools::ms_pPedPool;
    if (pool == nullptr) return false;
    bool heard = false;
    for (int i = 0, n = pool->GetSize(); i < n; ++i) {
        CPed* ped = pool->GetAt(i);
        if (ped == nullptr || ped == &player || ped->m_nPedType != PED_TYPE_COP || !(ped->m_fHealth > 0.0f))
            continue;
        if (DistanceSq(ped->GetPosition(), P) > range * range) continue;
        heard = true;
        RestartSearch(*ped);
    }
    return heard;
}

}  // namespace

void GunshotCheck(std::uint32_t now, Scene& scene) {
    CPlayerPed* player = FindPlayerPed(-1);
    if (cfg.GunshotEnabled == 0 || player == nullptr) return;
    const CWeapon* gun = FiringGun(*player);
    if (gun == nullptr || !Elapsed(now, lastShotHeardTime, kSceneMoveEveryMs) ||
        !Elapsed(now, lastShotCheckTime, kCheckEveryMs)) {
        return;
    }
    const int type = gun->m_eWeaponType;
    const float range = type == host::kSilencedPistol ? cfg.SilencedRange : cfg.GunshotRange;
    lastShotCheckTime = now;
    const CVector P = player->GetPosition();
    if (!CopsHear(*player, P, range)) return;
    lastShotHeardTime = now;
    scene.MoveTo(P, now);
    LogLine("gunshot heard: weapon=%u range=%.0f scene moved to %.1f,%.1f", static_cast<unsigned>(type),
            static_cast<double>(range), static_cast<double>(P.x), static_cast<double>(P.y));
}
