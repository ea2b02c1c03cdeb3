#include "player/evading_player.h"

#include <algorithm>

#include "player/hiding_spots.h"
#include "pools/host_tasks.h"
#include "world/host_clock.h"
#include "world/world.h"

namespace sandbox {

namespace {

// The numbers are documented in docs/host-model.md, "The evading player".
constexpr std::uint32_t kMemoryMs = 6000;  // how long he keeps a cop he saw in mind
constexpr float kFootNearest = 20.0f;      // m: the nearest hiding spot worth running to
constexpr float kFootFarthest = 90.0f;     // m: the farthest
constexpr float kDriveNearest = 120.0f;    // m: the nearest place worth driving to
constexpr float kDriveFarthest = 400.0f;   // m: the farthest
constexpr float kCarReach = 60.0f;         // m: the farthest free car he runs for
constexpr float kBoardDistance = 3.0f;     // m from the car's centre at which he gets in
constexpr std::size_t kChoices = 4;        // he takes one of the best few spots, at random

bool IsLiveCop(const Ped* ped, const Ped* player) {
    return ped != nullptr && ped != player && ped->m_nPedType == PED_TYPE_COP && ped->m_fHealth > 0.0f;
}

bool IsFreeCar(const Vehicle& v) { return !v.IsHeli() && !v.m_bIsLawEnforcer && v.m_pDriver == nullptr; }

// The nearest free car within reach that he is nearer to than every cop he knows of; -1 for none.
int CarToTake(World& world, Vec3 me, const std::vector<Vec3>& cops) {
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

}  // namespace

void EvadingPlayer::Run(World& world) {
    Ped* player = world.Player();
    if (player == nullptr || !(player->m_fHealth > 0.0f) || world.Wanted().m_nWantedLevel == 0) return;
    // The scenario's own moves and a car exit under way come first.
    if (player->moving && !player->move.evade) return;
    if (player->HasTask(kTaskLeaveVehicle)) return;
    const bool boarded = BoardCar(world, *player);
    if (!boarded && Running(world.Now(), nextLook_)) return;
    nextLook_ = EndAfter(world.Now(), traits_.reactionMs);
    const bool copNear = LookRound(world, *player);
    Decide(world, *player, copNear || boarded);
}

bool EvadingPlayer::LookRound(World& world, const Ped& player) {
    const Vec3 me = player.Position();
    bool near = false;
    std::erase_if(seen_, [&](const Sighting& s) { return Ended(world.Now(), EndAfter(s.at, kMemoryMs)); });
    for (int i = 0; i < world.Peds().Size(); ++i) {
        const Ped* cop = world.Peds().At(i);
        if (!IsLiveCop(cop, &player)) continue;
        const Vec3 at = cop->Position();
        near = near || Length2D(at - me) <= traits_.caution;
        if (!InViewOf(at, me, traits_.sight, world.Geometry())) continue;
        const auto known =
            std::find_if(seen_.begin(), seen_.end(), [&](const Sighting& s) { return s.slot == i; });
        if (known != seen_.end()) {
            *known = {i, at, world.Now()};
        } else {
            seen_.push_back({i, at, world.Now()});
        }
    }
    return near;
}

void EvadingPlayer::Decide(World& world, Ped& player, bool copNear) {
    const bool freshSighting =
        std::any_of(seen_.begin(), seen_.end(), [&](const Sighting& s) { return s.at == world.Now(); });
    std::vector<Vec3> cops;
    for (const Sighting& s : seen_) cops.push_back(s.pos);
    if (player.moving && player.move.evade) {
        // Under way he keeps going while no cop he knows of sees the place or stands nearer to it.
        const float mine = Length2D(spot_ - player.Position());
        const bool spoilt = std::any_of(cops.begin(), cops.end(), [&](Vec3 c) {
            return Length2D(c - spot_) < mine || InViewOf(c, spot_, traits_.sight, world.Geometry());
        });
        if (!spoilt) return;
    } else if (!freshSighting && !copNear) {
        return;  // hidden, and nobody near: he keeps still
    }
    if (cops.empty()) {
        // Only heard him near: away from that cop.
        for (int i = 0; i < world.Peds().Size(); ++i) {
            const Ped* cop = world.Peds().At(i);
            if (IsLiveCop(cop, &player) && Length2D(cop->Position() - player.Position()) <= traits_.caution)
                cops.push_back(cop->Position());
        }
    }
    const Vec3 me = player.Position();
    if (const int car = player.m_bInVehicle ? -1 : CarToTake(world, me, cops); car >= 0) {
        car_ = car;
        GoTo(world, player, world.Vehicles().At(car)->Position(), traits_.footSpeed);
        return;
    }
    const bool driving = player.m_bInVehicle;
    const SpotSearch search{me, driving ? kDriveNearest : kFootNearest,
                            driving ? kDriveFarthest : kFootFarthest, traits_.sight};
    const std::vector<Vec3> spots =
        RankSpots(search, world.PathNetwork().Nodes(), cops, world.Geometry(), kChoices);
    if (spots.empty()) return;
    const Vec3 spot = spots[world.Random()() % spots.size()];
    car_ = -1;
    GoTo(world, player, spot, driving ? traits_.carSpeed : traits_.footSpeed);
}

void EvadingPlayer::GoTo(World& world, Ped& player, Vec3 to, float speed) {
    player.move = {};
    player.move.waypoints = world.PathNetwork().Route(player.Position(), to);
    // A route starts at the node nearest him, which may lie behind him: he does not turn back for it.
    std::vector<Vec3>& way = player.move.waypoints;
    if (way.size() > 1 && Length2D(way[1] - player.Position()) < Length2D(way[1] - way[0]))
        way.erase(way.begin());
    player.move.speed = speed;
    player.move.evade = true;
    player.moving = true;
    spot_ = to;
}

bool EvadingPlayer::BoardCar(World& world, Ped& player) {
    if (car_ < 0 || player.m_bInVehicle) return false;
    Vehicle* car = world.Vehicles().At(car_);
    if (car == nullptr || !IsFreeCar(*car)) {
        car_ = -1;
        return false;
    }
    if (Length2D(car->Position() - player.Position()) > kBoardDistance) return false;
    world.SeatPed(player, *car, kDriverSeat);
    car_ = -1;
    return true;
}

}  // namespace sandbox
