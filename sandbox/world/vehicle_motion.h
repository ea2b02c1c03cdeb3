#pragma once

namespace sandbox {

class World;

/// Host speed units to metres per second: a cruise speed of 25 drives at 10 m/s.
constexpr float kCruiseUnitMetresPerSecond = 0.4f;
/// A driving car slows down within this distance of its target and stands within kStopDist.
constexpr float kSlowDownDist = 12.0f;
constexpr float kStopDist = 1.0f;
/// Helicopters fly at this speed, and climb or sink at kHeliClimbSpeed to their flying height.
constexpr float kHeliSpeed = 20.0f;
constexpr float kHeliClimbSpeed = 6.0f;

struct Vehicle;
struct Vec3;

/// Sends a car to the target along the path network (straight where the network has no way).
void SetDriveTarget(const World& world, Vehicle& car, Vec3 target);
/// Moves every vehicle that has somewhere to go one frame on and sets its velocity vector.
void UpdateVehicles(World& world, float dtSeconds);

}  // namespace sandbox
