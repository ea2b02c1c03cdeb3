#include "scenario/scenario_area.h"

#include <algorithm>

#include "scenario/scenario.h"

namespace sandbox {

std::pair<Vec3, Vec3> ScenarioArea(const Scenario& scenario) {
    Vec3 lo = scenario.player.pos;
    Vec3 hi = scenario.player.pos;
    const auto grow = [&](Vec3 p) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    };
    for (const PedSpec& p : scenario.peds) grow(p.pos);
    for (const VehicleSpec& v : scenario.vehicles) grow(v.pos);
    for (const Box& b : scenario.world.boxes) {
        grow(b.min);
        grow(b.max);
    }
    for (const Event& e : scenario.events) {
        grow(e.to);
        if (e.spawnPed) grow(e.spawnPed->pos);
        if (e.spawnVehicle) grow(e.spawnVehicle->pos);
    }
    const Vec3 margin{60.0f, 60.0f, 0.0f};
    return {lo - margin, hi + margin};
}

}  // namespace sandbox
