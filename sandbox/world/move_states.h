#pragma once

namespace sandbox {

/// Walking speed of a ped for the host's move state: 4 walk, 5 jog, 6 run, 7 sprint (m/s).
inline float MoveStateSpeed(int moveState) {
    switch (moveState) {
        case 4: return 1.6f;
        case 5: return 3.5f;
        case 6: return 5.5f;
        case 7: return 7.0f;
        default: return moveState < 4 ? 1.6f : 7.0f;
    }
}

}  // namespace sandbox
