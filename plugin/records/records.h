#pragma once

#include <cstdint>
#include <unordered_map>

#include "host/vector.h"
#include "records/cop_state.h"

class CPed;
class CVehicle;
struct CopSighting;

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
/// The record of a listed cop, made when he has none yet.
CopState& RecordOf(CopSighting& sighting);
/// The sweep phase the next first stamp hands out; grows for the life of the process.
extern float nextSweepPhase;
/// A cop new to the pursuit starts in the know, with his runner style and sweep phase drawn.
void FirstStamp(CopState& cop, std::uint32_t now);
/// Forgets the records of peds that left the pool or are no longer cops.
void PurgeCopRecords();
/// Counts the records held as lost. A cop is marked lost or chasing only within the awareness tick
/// (and the tables are emptied only by the reset), so a count taken after each of them holds until
/// the next.
void RecountLostCops();
/// Whether any record was held as lost at the last count.
bool AnyCopLost();
VehicleState* FindVehicle(CVehicle* vehicle);
VehicleState& GetVehicle(CVehicle* vehicle);
