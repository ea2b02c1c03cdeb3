#pragma once

/// A host position or direction, in metres.
struct CVector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
