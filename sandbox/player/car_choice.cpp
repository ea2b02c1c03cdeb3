#include "player/car_choice.h"

#include <algorithm>

#include "world/world.h"

namespace sandbox {

namespace {

constexpr float kCarReach = 60.0f;  // m: the farthest free car he runs for

}  // namespace

bool IsFreeCar(const Vehicle& v) { return !v.IsHeli() && !v.m_bIsLawEnforcer && v.m_pDriver == nullptr; }

int CarToTake(World& world, Vec3 me, std::span<const Vec3> cops) {
    int bestCar = -1;
    float bestDistance = kCarReach;
    for (int i = 0; i < world.Vehicles().Size(); ++i) {
        const Vehicle* v = world.Vehicles().At(i);
        if (v == nullptr || !IsFreeCar(*v)) continue;
        const float d = Length2D(v->Position() - me);
        // A car a cop would reach first is no way out.
        const bool first =
            std::all_of(cops.begin(), cops.end(), [&](Vec3 c) { return Length2D(c - v->Position()) > d; });
        if (first && d < bestDistance) {
            bestDistance = d;
            bestCar = i;
        }
    }
    return bestCar;
}

}  // namespace sandbox
