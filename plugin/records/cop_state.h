#pragma once

// The record of one cop, one part per subsystem that keeps something of him between ticks. Each part
// starts zeroed except where a default is given, and says itself what "starting over" means for it.
// Times are host ms.

#include <cstdint>

#include "host/vector.h"

class CPed;

// The foot-search steps, as kept in FootSearchState::searchStep.
inline constexpr std::int32_t kStepNone = 0;
inline constexpr std::int32_t kStepTravel = 1;
inline constexpr std::int32_t kStepSweep = 2;
inline constexpr std::int32_t kStepLookAbout = 3;
inline constexpr std::int32_t kStepAimScan = 4;

/// What the cop knows of the player.
struct CopAwareness {
    std::uint32_t lastKnownTime = 0;  ///< last time he knew where the player is; 0 = never stamped
    bool lost = false;                ///< held as having lost the player
    std::uint32_t inVehicleTime = 0;  ///< last tick he sat in a vehicle

    /// More than the grace time (PursuitGraceMs) has passed since he last knew where the player is.
    bool GraceOver(std::uint32_t now) const;
    /// He was stamped once and his grace time has not run out.
    bool InTheKnow(std::uint32_t now) const { return lastKnownTime != 0 && !GraceOver(now); }
    /// Puts his knowledge just past the grace time, as if he had lost the player a moment ago.
    void PastGrace(std::uint32_t now);
};

/// His foot search: the step he is on, where it leads and how his sweep goes on.
struct FootSearchState {
    bool searchTaskGiven = false;  ///< he carries a search step of ours
    std::int32_t moveStyle = -1;   ///< 1 runner, 0 not; -1 until first stamped
    std::int32_t searchStep = kStepNone;
    std::int32_t lastStep = kStepNone;
    std::uint32_t stepUntil = 0;
    CVector stepTarget;
    std::int32_t sweepLeg = 0;
    float sweepPhase = 0.0f;       ///< radians; start angle of his sweep
    std::uint32_t alertUntil = 0;  ///< his look or aim widens his sight until then
    CVector ownScene;              ///< his own search point, set when a car unloads him
    bool ownSceneValid = false;
    std::uint32_t ownSceneTime = 0;  ///< ms, when ownScene was set
    std::int32_t movesSincePause = 99;
    std::uint32_t aimDueTime = 0;

    /// Drops the step he is on; the next search tick chooses a new one.
    void RestartStep() {
        searchStep = kStepNone;
        lastStep = kStepNone;
    }
    /// The scene moved: he starts over towards it, with his sweep from its first leg.
    void RestartTowardsScene() {
        RestartStep();
        sweepLeg = 0;
        ownSceneValid = false;
    }
    /// A car unloads him at `at`: that is where he searches until the scene moves after `now`.
    void SearchFrom(const CVector& at, std::uint32_t now) {
        ownScene = at;
        ownSceneValid = true;
        ownSceneTime = now;
    }
    /// Ends the search: nothing of ours is on him, and a later search starts from its first leg.
    void Forget() {
        searchTaskGiven = false;
        RestartStep();
        sweepLeg = 0;
        alertUntil = 0;
    }
};

/// His self-defence against someone other than the player.
struct DefenceState {
    float lastHealth = 0.0f;  ///< health plus armour at the previous tick
    CPed* attacker = nullptr;
    int attackerRef = -1;  ///< the attacker's host handle: a reused slot keeps the address, not the handle
    std::uint32_t defendUntil = 0;
    std::uint32_t defendOrderTime = 0;
    bool defending = false;
    CPed* defendTarget = nullptr;
    int defendTargetRef = -1;  ///< host handle of defendTarget

    void DropAttacker() {
        attacker = nullptr;
        attackerRef = -1;
    }
    void StopDefending() {
        defending = false;
        defendTarget = nullptr;
        defendTargetRef = -1;
    }
};

/// Whether the plugin has taken him over, and the watchdogs that keep the host's pursuit and a stuck
/// move off him.
struct WatchdogState {
    bool pursuitFlushed = false;  ///< his host pursuit task was flushed; his foot search may run
    std::uint32_t flushTime = 0;
    std::uint32_t antiLockLogTime = 0;
    std::uint32_t leaveCarTime = 0;  ///< earliest repeat of a leave-the-car order
    std::uint32_t antiLockCheckTime = 0;
    std::uint32_t straightUntil = 0;
    CVector watchPos;
    std::uint32_t watchTime = 0;
};

/// What the plugin remembers of one cop.
struct CopState {
    CopAwareness awareness;
    FootSearchState foot;
    DefenceState defence;
    WatchdogState watch;

    /// He got into a vehicle: his foot search stops where it is, and a cop who gets out is taken
    /// over afresh (his sweep goes on from the same leg).
    void PauseFootSearch() {
        watch.pursuitFlushed = false;
        foot.searchTaskGiven = false;
        foot.RestartStep();
    }
    /// His foot search ends for good: a cop still lost is taken over and searches afresh.
    void ForgetFootSearch() {
        watch.pursuitFlushed = false;
        foot.Forget();
    }
    /// Held as lost from now on, with the host's pursuit of him suppressed.
    void MarkLost(CPed& ped);
    /// Chasing again and left to the host's pursuit: no search of ours, nor its own point, stays.
    void ChaseAgain(CPed& ped);
};
