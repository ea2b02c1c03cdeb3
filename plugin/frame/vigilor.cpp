#include "frame/vigilor.h"

#include "frame/frame_state.h"
#include "host/events.h"
#include "records/records.h"

// Defined together so that load-time construction runs in this order: scene, tables, plugin object.
bool enabled = true;
bool initialised = false;
bool toggleKeyWasDown = false;
std::uint32_t lastCopCarCheck = 0;
Scene scene;
Disguise disguise;
std::uint32_t lastAwarenessTick = 0;
bool pedRangeApplied = false;
float savedPedRange = 1.0f;

CopTable copStates;
VehicleTable vehicleStates;

Vigilor::Vigilor() { plugin::Events::processScriptsEvent().AddAfter(&ProcessFrame, 0); }

Vigilor vigilor;
