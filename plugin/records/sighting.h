#pragma once

#include "base/settings.h"
#include "host/vector.h"

class CPed;
struct CopState;

/// One cop listed in the current awareness tick.
struct CopSighting {
    CPed* ped;
    int handle;  ///< his host handle, the key of his record
    CVector position;
    bool seeing;     ///< he sees the player this tick
    bool inVehicle;  ///< he sits in a vehicle
    bool inHeli;     ///< that vehicle is a police helicopter
    /// His record once it exists: looked up once per tick, made by the first pass that needs it.
    /// Listed cops keep their records for the whole tick, so the pointer stays good until its end.
    CopState* cop;
};

/// A helicopter crew tells nobody unless the settings let it share what it sees.
inline bool MayShare(const CopSighting& s) { return !s.inHeli || cfg.HeliSharesScene != 0; }
