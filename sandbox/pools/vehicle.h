#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/vec3.h"
#include "host/constants.h"
#include "host/vehicle.h"

namespace sandbox {

/// A vehicle of the sandbox host. Its host-visible fields live in the CVehicle base.
struct Vehicle : CVehicle {
    explicit Vehicle(std::string vehicleId) : id(std::move(vehicleId)) {}
    Vehicle(const Vehicle&) = delete;
    Vehicle& operator=(const Vehicle&) = delete;

    std::string id;          ///< scenario id
    bool hasTarget = false;  ///< driving (or flying) to target
    Vec3 target;
    std::vector<Vec3> route;       ///< cars: waypoints still to drive through, ending at target
    float flyHeight = 0.0f;        ///< helicopters: height above ground of the target
    std::uint32_t leaveMs = 1000;  ///< how long getting out of it takes

    Vec3 Position() const { return {m_vecPos.x, m_vecPos.y, m_vecPos.z}; }
    void SetPosition(Vec3 p) { m_vecPos = {p.x, p.y, p.z}; }
    bool IsHeli() const { return m_nModelIndex == host::kModelPoliceHeli; }
    /// Half extents of the vehicle as an obstacle, in metres.
    Vec3 HalfExtents() const { return IsHeli() ? Vec3{5.0f, 5.0f, 1.5f} : Vec3{1.0f, 2.4f, 0.8f}; }
};

}  // namespace sandbox
