#pragma once

#include "host/entity.h"

class CPed;

enum eCarMission : int {
    MISSION_NONE = 0,
    MISSION_GOTOCOORDS = 8,
    MISSION_HELI_CHASE = 40,
};

class CAutoPilot {
public:
    int m_nCarMission = MISSION_NONE;
    int m_nTempAction = 0;
    int m_nCruiseSpeed = 0;  ///< host speed units
    int m_nCarDrivingStyle = 0;
};

class CVehicle : public CPhysical {
public:
    static constexpr int kPassengerSeats = 8;

    int m_nModelIndex = 0;  ///< 497 police helicopter
    CPed* m_pDriver = nullptr;
    CPed* m_apPassengers[kPassengerSeats] = {};
    CAutoPilot m_autoPilot;
    bool m_bIsLawEnforcer = false;
};

/// Host counters of police vehicles.
class CCarCtrl {
public:
    /// Law-enforcer cars the host believes exist; it spawns no more police cars above its cap.
    static unsigned int NumLawEnforcerCars;
};
