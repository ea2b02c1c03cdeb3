#include "player/evading_player.h"

#include <algorithm>

#include "player/car_choice.h"
#include "player/hiding_spots.h"
#include "pools/host_tasks.h"
#include "world/host_clock.h"
#include "world/world.h"

namespace sandbox {

namespace {

// The numbers are documented in docs/host-model.md, "The evading player".
constexpr float kFootNearest = 20.0f;     // m: the nearest hiding spot worth running to
constexpr float kFootFarthest = 90.0f;    // m: the farthest
constexpr float kDriveNearest = 120.0f;   // m: the nearest place worth driving to
constexpr float kDriveFarthest = 400.0f;  // m: the farthest
constexpr float kBoardDistance = 3.0f;    // m from the car's centre at which he gets in
constexpr std::size_t kChoices = 4;       // he takes one of the best few spots, at random
constexpr float kWayStretch = 2.0f;       // a way at most this many times his farthest goal's distance
constexpr float kCoverFarthest = 150.0f;  // m along his way: the farthest cover he runs for
constexpr float kTiredSpeed = 5.2f;  // m/s: his run once he is out of breath, between the host's run and jog
constexpr float kClear = 1.0f;       // a way that passes no cop, against 0 for one that does
constexpr float kClearanceSlack = 5.0f;  // m: cornered, ways this much less clear than the clearest do

bool InHelicopter(const Ped& cop) {
    return cop.m_bInVehicle && cop.m_pVehicle != nullptr &&
           static_cast<const Vehicle*>(cop.m_pVehicle)->IsHeli();
}

bool IsLiveCop(const Ped* ped, const Ped* player) {
    return ped != nullptr && ped != player && ped->m_nPedType == PED_TYPE_COP && ped->m_fHealth > 0.0f;
}

}  // namespace

void EvadingPlayer::Run(World& world, std::uint32_t dtMs) {
    Ped* player = world.Player();
    if (player == nullptr || !(player->m_fHealth > 0.0f) || world.Wanted().m_nWantedLevel == 0) return;
    Breathe(*player, dtMs);
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
    const bool covered = UnderCover(me, world.Geometry());
    bool near = false;
    memory_.Forget(world.Now());
    for (int i = 0; i < world.Peds().Size(); ++i) {
        const Ped* cop = world.Peds().At(i);
        if (!IsLiveCop(cop, &player)) continue;
        const Vec3 at = cop->Position();
        const bool above = InHelicopter(*cop);
        near = near || (Length2D(at - me) <= traits_.caution && !(above && covered));
        if (InViewOf(at, me, traits_.sight, world.Geometry())) memory_.Note({i, at, world.Now(), above});
    }
    return near;
}

void EvadingPlayer::Decide(World& world, Ped& player, bool copNear) {
    using Sighting = CopMemory::Sighting;
    const std::vector<Sighting>& seen = memory_.Sightings();
    const auto fresh = [&](const Sighting& s) { return s.at == world.Now(); };
    const bool freshSighting = std::any_of(seen.begin(), seen.end(), fresh);
    // A helicopter sees him wherever he runs in the open: he hides from it rather than runs.
    const bool wantCover =
        !player.m_bInVehicle && !UnderCover(player.Position(), world.Geometry()) &&
        std::any_of(seen.begin(), seen.end(), [&](const Sighting& s) { return fresh(s) && s.above; });
    std::vector<Vec3> cops;
    for (const Sighting& s : seen) {
        if (!s.above) cops.push_back(s.pos);
    }
    if (player.moving && player.move.evade) {
        // Under way he keeps going while no cop he knows of sees the place or stands nearer to it,
        // and his way does not lead him towards one.
        // A way out of a corner passes them by choice: he runs it to its end, since turning back
        // among them is how he would be caught.
        const bool spoilt =
            !cornered_ && ((wantCover && !toCover_) || WayExposed(world, player, cops) ||
                           GoalSpoilt(spot_, player.Position(), cops, traits_.sight, world.Geometry()));
        if (!spoilt) return;
    } else if (!freshSighting && !copNear) {
        return;  // hidden, and nobody near: he keeps still
    }
    if (wantCover && TakeCover(world, player, cops)) return;
    // With no cover to reach he runs from a helicopter as from any cop.
    for (const Sighting& s : seen) {
        if (s.above) cops.push_back(s.pos);
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
        GoTo(world, player, world.Vehicles().At(car)->Position(), FootSpeed());
        return;
    }
    const bool driving = player.m_bInVehicle;
    SpotSearch search{me, driving ? kDriveNearest : kFootNearest, driving ? kDriveFarthest : kFootFarthest,
                      traits_.sight};
    const std::vector<Vec3>& nodes = world.PathNetwork().Nodes();
    const auto ranked = [&](float clearest) {
        return RankSpots(search, nodes, cops, world.Geometry(), kChoices,
                         [&](int i) { return ways_.Reaches(i) && ways_.ClearanceTo(i) >= clearest; });
    };
    PlanWays(world, me, cops, kWayStretch * search.farthest, false);
    std::vector<int> spots = ranked(kClear);
    if (spots.empty()) {
        // Cornered: past them, along the way that keeps farthest from them, as the streets allow.
        search.cornered = true;
        PlanWays(world, me, cops, kWayStretch * search.farthest, true);
        float widest = 0.0f;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (ways_.Reaches(static_cast<int>(i)) && search.InReach(nodes[i]))
                widest = std::max(widest, ways_.ClearanceTo(static_cast<int>(i)));
        }
        spots = ranked(widest - kClearanceSlack);
    }
    if (spots.empty()) return;
    const int spot = spots[world.Random()() % spots.size()];
    car_ = -1;
    GoAlong(player, ways_.WayTo(spot), driving ? traits_.carSpeed : FootSpeed());
    cornered_ = search.cornered;
}

bool EvadingPlayer::WayExposed(const World& world, const Ped& player, const std::vector<Vec3>& cops) const {
    const Vec3 me = player.Position();
    return std::any_of(player.move.waypoints.begin(), player.move.waypoints.end(), [&](Vec3 w) {
        return Exposed(w, me, cops, traits_.caution, traits_.sight, world.Geometry());
    });
}

bool EvadingPlayer::TakeCover(World& world, Ped& player, const std::vector<Vec3>& cops) {
    const std::vector<Vec3> covers = Covers(world.Geometry());
    if (covers.empty()) return false;
    PlanWays(world, player.Position(), cops, kCoverFarthest, false);
    int best = -1;
    Vec3 under;
    for (Vec3 c : covers) {
        const int node = world.PathNetwork().JoinAt(c);
        if (!ways_.Reaches(node) || ways_.ClearanceTo(node) < kClear ||
            (best >= 0 && ways_.LengthTo(node) >= ways_.LengthTo(best)))
            continue;
        best = node;
        under = c;
    }
    if (best < 0) return false;
    std::vector<Vec3> way = ways_.WayTo(best);
    way.push_back(under);
    car_ = -1;
    GoAlong(player, std::move(way), FootSpeed());
    toCover_ = true;
    return true;
}

void EvadingPlayer::PlanWays(const World& world, Vec3 me, const std::vector<Vec3>& cops, float longest,
                             bool cornered) {
    const std::vector<Vec3>& nodes = world.PathNetwork().Nodes();
    // Cornered, a node is as clear as it is far from the nearest cop; else it is clear or not.
    ways_.Plan(world.PathNetwork(), world.PathNetwork().JoinAt(me), longest, [&](int i) {
        const Vec3 node = nodes[static_cast<std::size_t>(i)];
        if (cornered) return NearestCopDistance(node, cops);
        return Exposed(node, me, cops, traits_.caution, traits_.sight, world.Geometry()) ? 0.0f : kClear;
    });
}

void EvadingPlayer::GoTo(World& world, Ped& player, Vec3 to, float speed) {
    GoAlong(player, world.PathNetwork().Route(player.Position(), to), speed);
}

void EvadingPlayer::GoAlong(Ped& player, std::vector<Vec3> way, float speed) {
    // A way starts at the node nearest him, which may lie behind him: he does not turn back for it.
    if (way.size() > 1 && Length2D(way[1] - player.Position()) < Length2D(way[1] - way[0]))
        way.erase(way.begin());
    spot_ = way.empty() ? player.Position() : way.back();
    toCover_ = false;
    cornered_ = false;
    player.move = {};
    player.move.waypoints = std::move(way);
    player.move.speed = speed;
    player.move.evade = true;
    player.moving = true;
}

float EvadingPlayer::FootSpeed() const {
    return sprintLeftMs_ > 0 ? traits_.footSpeed : std::min(traits_.footSpeed, kTiredSpeed);
}

void EvadingPlayer::Breathe(Ped& player, std::uint32_t dtMs) {
    if (player.m_bInVehicle) return;
    const bool evading = player.moving && player.move.evade;
    if (!evading) {
        sprintLeftMs_ = std::min(kSprintMs, sprintLeftMs_ + dtMs);
    } else if (player.move.speed > kTiredSpeed) {
        sprintLeftMs_ -= std::min(sprintLeftMs_, dtMs);
        if (sprintLeftMs_ == 0) player.move.speed = kTiredSpeed;
    }
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
