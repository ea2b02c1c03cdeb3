#include "awareness/sight_test.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/game_clock.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/ped.h"
#include "host/vehicle.h"
#include "host/world.h"
#include "records/records.h"

namespace {

constexpr float kHeliCloseRange = 3.0f;
constexpr float kCloseRangeMaxHeight = 4.0f;  // close range works only on about the same level
constexpr float kEyeHeight = 0.6f;
constexpr float kAllRound = 359.0f;  // a cone this wide needs no angle test
constexpr float kSameSpot = 0.001f;  // no direction to the player below this

struct View {
    float range;
    float angle;  // degrees, full cone
    float close;
    bool heli;
};

View ViewOf(const CVehicle* vehicle) {
    if (vehicle == nullptr) return {cfg.SightRange, cfg.SightAngle, cfg.CloseRange, false};
    if (IsPoliceHeli(vehicle)) return {cfg.HeliSightRange, cfg.HeliSightAngle, kHeliCloseRange, true};
    return {cfg.VehicleSightRange, cfg.VehicleSightAngle, cfg.CloseRangeCar, false};
}

bool InsideCone(float heading, float angleDegrees, float dx, float dy) {
    const float s = std::sqrt(dx * dx + dy * dy);
    if (s <= kSameSpot) return true;
    const float dot = (dy * std::cos(heading) - dx * std::sin(heading)) / s;
    const float halfCone = angleDegrees * 0.5f * std::numbers::pi_v<float> / 180.0f;
    return !(std::cos(halfCone) > dot);
}

}  // namespace

CVehicle* SeatedVehicle(const CPed& ped) { return ped.m_bInVehicle ? ped.m_pVehicle : nullptr; }

bool IsPoliceHeli(const CVehicle* vehicle) {
    return vehicle != nullptr && vehicle->m_nModelIndex == host::kModelPoliceHeli;
}

bool SightTest(CPed& cop, const CopState* record, const CVector& P, bool playerOnFoot, bool disguised,
               std::uint32_t now) {
    CVehicle* vehicle = SeatedVehicle(cop);
    View view = ViewOf(vehicle);
    if (record != nullptr && Pending(now, record->foot.alertUntil)) {
        view.range += cfg.AlertRangeBonus;
        view.angle += cfg.AlertAngleBonus;
    }
    if (disguised && (record == nullptr || !record->awareness.InTheKnow(now))) {
        view.range = std::min(cfg.DisguiseRange * (view.heli ? 2.0f : 1.0f), view.range);
    }

    const CVector& C = cop.GetPosition();
    const float dx = P.x - C.x;
    const float dy = P.y - C.y;
    const float dz = P.z - C.z;
    const float d = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (d > view.range) return false;
    if (d < view.close && std::fabs(dz) < kCloseRangeMaxHeight) return true;
    if (view.angle < kAllRound) {
        const float heading = vehicle != nullptr ? vehicle->GetHeading() : cop.GetHeading();
        if (!InsideCone(heading, view.angle, dx, dy)) return false;
    }
    const CVector eye{C.x, C.y, C.z + kEyeHeight};
    const CVector target{P.x, P.y, P.z + kEyeHeight};
    // Vehicles block only between two people on foot: a car one of them sits in must not hide him.
    const bool vehiclesBlock = vehicle == nullptr && playerOnFoot;
    return CWorld::GetIsLineOfSightClear(eye, target, true, vehiclesBlock, false, true, true, false, false);
}
