#pragma once

#include "frame/settings.h"
#include "host/vector.h"

class CPed;

/// One cop listed in the current awareness tick.
struct CopSighting {
    CPed* ped;
    CVector position;
    bool seeing;     ///< he sees the player this tick
    bool inVehicle;  ///< he sits in a vehicle
    bool inHeli;     ///< that vehicle is a police helicopter
};

/// A helicopter crew tells nobody unless the settings let it share what it sees.
inline bool MayShare(const CopSighting& s) { return !s.inHeli || cfg.HeliSharesScene != 0; }
