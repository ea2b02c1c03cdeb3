#pragma once

#include "host/vector.h"

/// Ground heights at or below this mean the host found no ground there.
constexpr float kNoGroundZ = -50.0f;

class CWorld {
public:
    /// True when nothing of the selected kinds lies on the segment from a to b.
    static bool GetIsLineOfSightClear(const CVector& a, const CVector& b, bool buildings, bool vehicles,
                                      bool peds, bool objects, bool dummies, bool seeThrough,
                                      bool ignoreSomeObjects);
    /// Height of the ground under (x, y); -100 where there is none.
    static float FindGroundZForCoord(float x, float y);
};
