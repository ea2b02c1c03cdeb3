#pragma once

#include "host/vector.h"

/// Puts a raw search point on the ground (or keeps `fallbackZ` where there is none) and, when
/// SnapToNodes is on, onto the closest pedestrian node within 25 m.
CVector FinishDestination(float x, float y, float fallbackZ);
