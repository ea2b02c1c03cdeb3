#include "awareness/gunshot.h"
#include "awareness/suppression.h"
#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "frame/awareness_tick.h"
#include "frame/frame_state.h"
#include "frame/vigilor.h"
#include "host/ped.h"
#include "host/player.h"
#include "host/pools.h"
#include "host/screen.h"
#include "host/timer.h"
#include "host/vehicle.h"
#include "host/win32/windows.h"
#include "hud/star_fading.h"
#include "records/records.h"
#include "search/vehicle/car_guard.h"
#include "search/vehicle/car_search.h"

namespace {

constexpr std::uint32_t kCopCarCheckMs = 2001;
constexpr std::uint32_t kAwarenessTickMs = 150;

void FirstFrame() {
    initialised = true;
    BuildPaths();
    ReadSettings();
    if (cfg.FadeStars != 0) InstallStarHook();
}

void ToggleKey() {
    const bool down = (GetAsyncKeyState(VK_F10) & 0x8000) != 0;
    if (down && !toggleKeyWasDown) {
        enabled = !enabled;
        if (!enabled) ResetAll();
        CMessages::AddMessageJumpQ(enabled ? "Vigilor: ON" : "Vigilor: OFF", 1500, 0, false);
        LogLine("F10: enabled=%d", enabled ? 1 : 0);
    }
    toggleKeyWasDown = down;
}

void ApplyPedRange() {
    if (cfg.PedRangeMultiplier <= 1.0f) return;
    if (!pedRangeApplied) {
        savedPedRange = TheCamera.m_fPedRangeMultiplier;
        pedRangeApplied = true;
        LogLine("ped range multiplier %.2f -> %.2f", static_cast<double>(savedPedRange),
                static_cast<double>(cfg.PedRangeMultiplier));
    }
    // Written every frame: a host change is overwritten at the next frame.
    TheCamera.m_fPedRangeMultiplier = cfg.PedRangeMultiplier;
}

void LowerSuppressionFlags() {
    CPool<CPed>* pool = CPools::ms_pPedPool;
    if (copStates.empty() || pool == nullptr) return;
    for (int i = 0, n = pool->GetSize(); i < n; ++i) {
        CPed* ped = pool->GetAt(i);
        if (ped == nullptr || ped->m_nPedType != PED_TYPE_COP) continue;
        const CopState* cop = FindCop(ped);
        if (cop != nullptr && cop->awareness.lost) ped->m_nPursuitSuppressed = 0;
    }
    LogLine("reset: flags restored");
}

void RestoreLawFlags() {
    CPool<CVehicle>* pool = CPools::ms_pVehiclePool;
    if (pool == nullptr) return;
    for (const auto& [handle, state] : vehicleStates) {
        if (!state.lawFlagCleared) continue;
        if (CVehicle* vehicle = CPools::GetVehicle(handle)) vehicle->m_bIsLawEnforcer = true;
    }
}

}  // namespace

void ResetAll() {
    ResetStarAlpha();
    if (pedRangeApplied) {
        TheCamera.m_fPedRangeMultiplier = savedPedRange;
        pedRangeApplied = false;
        LogLine("ped range multiplier restored: %.2f", static_cast<double>(savedPedRange));
    }
    LowerSuppressionFlags();
    RestoreLawFlags();
    copStates.clear();
    vehicleStates.clear();
    RecountLostCops();
    scene.sceneValid = false;
    ResetCarTrack();
    disguise.Reset();
}

void ProcessFrame() {
    if (!initialised) FirstFrame();
    ToggleKey();
    if (!enabled) return;

    const std::uint32_t now = CTimer::m_snTimeInMilliseconds;
    if (Elapsed(now, lastCopCarCheck, kCopCarCheckMs)) {
        lastCopCarCheck = now;
        CopCarCounterCheck();
    }

    CPlayerPed* player = FindPlayerPed(-1);
    CWanted* wanted = FindPlayerWanted(-1);
    if (player == nullptr || wanted == nullptr || !(player->m_fHealth > 0.0f) ||
        wanted->m_nWantedLevel == 0) {
        if (scene.sceneValid || !copStates.empty()) {
            LogLine("wanted level ended");
            ResetAll();
        }
        return;
    }

    if (!scene.sceneValid) {
        scene.MoveTo(player->GetPosition(), now);
        scene.lastSeenAny = now;
        LogLine("wanted level started, level=%u", wanted->m_nWantedLevel);
    }
    if (AnyCopLost()) CriminalListScrub(now);
    ApplyPedRange();
    ParkedCarGuard(now);
    if (cfg.GunshotEnabled != 0) GunshotCheck(now, scene);
    if (Elapsed(now, lastAwarenessTick, kAwarenessTickMs)) {
        lastAwarenessTick = now;
        AwarenessTick(now, scene, disguise);
    }
    UpdateStarAlpha(now, scene.lastSeenAny, *wanted);
}
