#include "search/vehicle/car_search.h"

void ResetCarTrack() {}
