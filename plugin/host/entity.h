#pragma once

#include "host/vector.h"

/// Anything the host places in the world.
class CPlaceable {
public:
    CVector m_vecPos;         ///< metres
    float m_fHeading = 0.0f;  ///< radians; a heading h faces (-sin h, cos h)

    CVector& GetPosition() { return m_vecPos; }
    const CVector& GetPosition() const { return m_vecPos; }
    float GetHeading() const;
};

class CEntity : public CPlaceable {};

class CPhysical : public CEntity {
public:
    CVector m_vecMoveSpeed;  ///< metres per second
};
