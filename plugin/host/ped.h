#pragma once

#include "host/entity.h"
#include "host/weapon.h"

class CPed;
class CVehicle;

/// An active host task; the plugin only tests for its presence.
class CTask;

class CTaskManager {
public:
    CPed* m_pPed = nullptr;

    /// The active task of that type on the ped, or null. Types: 704 leaving a vehicle,
    /// 1101/1103/1105 the host's pursuit tasks.
    CTask* FindActiveTaskByType(int taskType);
};

class CPedIntelligence {
public:
    CPed* m_pPed = nullptr;
    CTaskManager m_TaskMgr;

    /// Drops every task of the ped at once.
    void FlushImmediately(bool setPrimaryDefaultTask);
};

enum ePedType : int {
    PED_TYPE_PLAYER1 = 0,
    PED_TYPE_COP = 6,
};

class CPed : public CPhysical {
public:
    static constexpr int kWeaponSlots = 13;
    static constexpr int kCriminalSlots = 5;

    int m_nPedType = 0;
    float m_fHealth = 100.0f;
    float m_fArmour = 0.0f;
    CVehicle* m_pVehicle = nullptr;  ///< the vehicle he belongs to (may be set while on foot)
    bool m_bInVehicle = false;       ///< he sits in m_pVehicle
    CWeapon m_aWeapons[kWeaponSlots];
    int m_nActiveWeaponSlot = 0;
    CEntity* m_pLastDamageEntity = nullptr;  ///< last ped or vehicle that hurt him
    /// Host flag: while non-zero the host's police logic leaves this cop out of its pursuit.
    unsigned char m_nPursuitSuppressed = 0;
    /// Cops only: the peds this cop is after.
    CPed* m_apCriminalsToKill[kCriminalSlots] = {};
    CPedIntelligence* m_pIntelligence = nullptr;

    /// Empties one criminal-list slot (the host's own operation; the first argument is unused).
    void ClearCriminalListSlot(int unused, int slot);
};

class CPlayerPed : public CPed {};
