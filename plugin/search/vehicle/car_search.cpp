#include "search/vehicle/car_search.h"

void ResetCarTrack() {}

void CarSearchStep(CVehicle&, CPed&, std::uint32_t) {}
