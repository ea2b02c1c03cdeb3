// The host's global data as the plugin finds it by name. The world fills it in and reads it back.

#include "host/pools.h"
#include "host/screen.h"
#include "host/timer.h"
#include "host/vehicle.h"

unsigned int CTimer::m_snTimeInMilliseconds = 0;
CPool<CPed>* CPools::ms_pPedPool = nullptr;
CPool<CVehicle>* CPools::ms_pVehiclePool = nullptr;
unsigned int CCarCtrl::NumLawEnforcerCars = 0;
CCamera TheCamera;
