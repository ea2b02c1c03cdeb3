#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "host/vector.h"

class CPed;
class CVehicle;

/// What the plugin remembers of one cop. Times are host ms.
struct CopState {
    std::uint32_t lastKnownTime = 0;  ///< last time he knew where the player is; 0 = never stamped
    bool lost = false;                ///< held as having lost the player
    bool pursuitFlushed = false;      ///< his host pursuit task was flushed; his foot search may run
    bool searchTaskGiven = false;     ///< he carries a search step of ours
    std::int32_t moveStyle = -1;      ///< 1 runner, 0 not; -1 until first stamped
    std::uint32_t inVehicleTime = 0;
    std::uint32_t flushTime = 0;
    std::uint32_t antiLockLogTime = 0;
    std::uint32_t leaveCarTime = 0;      ///< earliest repeat of a leave-the-car order
    std::uint32_t antiLockCheckTime = 0;
    std::int32_t searchStep = 0;  ///< 0 none, 1 travel, 2 sweep, 3 look about, 4 aim scan
    std::int32_t lastStep = 0;
    std::uint32_t stepUntil = 0;
    CVector stepTarget;
    std::int32_t sweepLeg = 0;
    float sweepPhase = 0.0f;  ///< radians; start angle of his sweep
    std::uint32_t alertUntil = 0;
    CVector ownScene;  ///< his own search point, set when a car unloads him
    bool ownSceneValid = false;
    std::uint32_t ownSceneTime = 0;
    float lastHealth = 0.0f;  ///< health plus armour at the previous tick
    CPed* attacker = nullptr;
    int attackerRef = -1;  ///< the attacker's host handle: a reused slot keeps the address, not the handle
    std::uint32_t defendUntil = 0;
    std::uint32_t defendOrderTime = 0;
    bool defending = false;
    std::uint32_t straightUntil = 0;
    std::int32_t movesSincePause = 99;
    std::uint32_t aimDueTime = 0;
    CVector watchPos;
    std::uint32_t watchTime = 0;
    CPed* defendTarget = nullptr;
    int defendTargetRef = -1;  ///< host handle of defendTarget
};

/// What the plugin remembers of one police vehicle it took over.
struct VehicleState {
    CVector target;
    bool ordered = false;
    bool stopped = false;
    float bestDist = 1.0e9f;
    std::uint32_t progressTime = 0;
    std::uint32_t stopTime = 0;
    std::uint32_t nextSweepTime = 0;
    std::uint32_t orderTime = 0;
    std::uint32_t haltSince = 0;  ///< 0 = moving
    std::int32_t unloaded = 0;
    std::uint32_t lawFlagClearTime = 0;
    bool lawFlagCleared = false;
    std::uint32_t parkedLogTime = 0;
    std::uint32_t missionLogTime = 0;
    std::int32_t missionLogCount = 0;
    std::uint32_t antiLockTime = 0;
};

// Both tables are keyed by the host's script handle, not the address: a slot that the host frees and
// fills again gets a new handle, so a new ped never inherits an old cop's record.
using CopTable = std::unordered_map<int, CopState>;
using VehicleTable = std::unordered_map<int, VehicleState>;

extern CopTable copStates;
extern VehicleTable vehicleStates;

/// The record of a ped, or null.
CopState* FindCop(CPed* ped);
CopState& GetCop(CPed* ped);
/// The sweep phase the next first stamp hands out; grows for the life of the process.
extern float nextSweepPhase;
/// A cop new to the pursuit starts in the know, with his runner style and sweep phase drawn.
void FirstStamp(CopState& cop, std::uint32_t now);
/// Forgets the records of peds that left the pool or are no longer cops.
void PurgeCopRecords();
VehicleState* FindVehicle(CVehicle* vehicle);
VehicleState& GetVehicle(CVehicle* vehicle);

/// One cop listed in the current awareness tick.
struct CopSighting {
    CPed* ped;
    CVector position;
    bool seeing;
    bool inVehicle;
    bool inHeli;
};

extern std::vector<CopSighting> sightings;
