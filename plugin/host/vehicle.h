#pragma once

#include "host/entity.h"

class CPed;

enum eCarMission : int {
    MISSION_NONE = 0,
    MISSION_GOTOCOORDS = 8,
    MISSION_HELI_CHASE = 40,
};

/// The host keeps each of these in one byte: mission, temporary action and driving style signed,
/// cruise speed unsigned.
class CAutoPilot {
public:
    signed char m_nCarMission = MISSION_NONE;
    signed char m_nTempAction = 0;
    unsigned char m_nCruiseSpeed = 0;  ///< host speed units
    signed char m_nCarDrivingStyle = 0;
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
