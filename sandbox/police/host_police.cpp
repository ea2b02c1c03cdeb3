#include "police/host_police.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "police/police_vehicles.h"
#include "police/pursuit_rule.h"
#include "pools/host_tasks.h"
#include "world/world.h"

namespace sandbox {

namespace {

// The numbers are documented in docs/host-model.md, "Police logic".
constexpr float kChaseStopShort = 3.0f;        // m from the player
constexpr float kChaseReplan = 5.0f;           // m the player moves before a routed chase plans again
constexpr float kRelistRange = 50.0f;          // m, 3D
constexpr std::uint32_t kRelistMeanMs = 5000;  // mean time between re-listings of one held-out cop
constexpr std::uint32_t kTaskChanceOutOf = 2;  // a re-listing brings a pursuit task one time in two
constexpr float kDismountRange = 20.0f;        // m, 2D from a player on foot: a chasing crew gets out

void GivePursuitTask(Ped& cop) {
    if (!cop.HasPursuitTask()) cop.AddTask(cop.m_bInVehicle ? kTaskPursuitInVehicle : kTaskPursuitOnFoot, 0);
}

void StopChaseMove(Ped& cop) {
    if (!cop.move.hostChase) return;
    cop.moving = false;
    cop.move = {};
}

// A fresh straight order every frame, kept in the waypoint list he already has: no allocation per cop.
void RunStraightAt(Ped& cop, Vec3 to, float d) {
    std::vector<Vec3> waypoints = std::move(cop.move.waypoints);
    waypoints.clear();
    waypoints.push_back(cop.Position() + Vec3{to.x, to.y, 0.0f} * ((d - kChaseStopShort) / d));
    cop.move = {};
    cop.move.waypoints = std::move(waypoints);
    cop.move.speed = cop.runSpeed;
    cop.move.hostChase = true;
    cop.moving = true;
}

// Round a building by the path network; the route is planned again once the player has moved on.
void RunRoundTo(const World& world, Ped& cop, Vec3 player) {
    const bool planned = cop.moving && cop.move.routed && !cop.move.waypoints.empty();
    if (planned && Length2D(cop.move.goal - player) <= kChaseReplan) return;
    cop.move = {};
    cop.move.waypoints = world.PathNetwork().Route(cop.Position(), player);
    cop.move.speed = cop.runSpeed;
    cop.move.hostChase = true;
    cop.move.routed = true;
    cop.move.goal = player;
    cop.moving = true;
}

// Runs at the player and stops a little short. With a building between them he goes round it on
// the path network when there is one; without, the building stops him where he meets it.
void ChaseOnFoot(const World& world, Ped& cop, const Ped& player) {
    if (cop.moving && !cop.move.hostChase) return;  // an order of someone else's comes first
    if (cop.HasTask(kTaskLeaveVehicle)) return;
    const Vec3 to = player.Position() - cop.Position();
    const float d = Length2D(to);
    if (d <= kChaseStopShort) {
        StopChaseMove(cop);
        return;
    }
    const Vec3 knee{0.0f, 0.0f, 0.5f};
    const bool open = world.PathNetwork().Empty() ||
                      world.Geometry().SegmentClear(cop.Position() + knee, player.Position() + knee);
    if (open) {
        RunStraightAt(cop, to, d);
    } else {
        RunRoundTo(world, cop, player.Position());
    }
}

// A crew whose car has brought them near a player on foot gets out to take him on foot.
void Dismount(World& world, Ped& cop, const Ped& player) {
    const auto* car = static_cast<const Vehicle*>(cop.m_pVehicle);
    if (car == nullptr || car->IsHeli() || player.m_bInVehicle) return;
    if (Length2D(car->Position() - player.Position()) <= kDismountRange) world.StartLeavingVehicle(cop);
}

void Chase(World& world, Ped& cop) {
    world.AddCriminal(cop);
    GivePursuitTask(cop);
    if (cop.m_bInVehicle) {
        Dismount(world, cop, *world.Player());
    } else {
        ChaseOnFoot(world, cop, *world.Player());
    }
}

// A held-out cop on foot who still has the player on his list or a pursuit task after him goes for
// the player all the same: the flag keeps the host from starting a pursuit, not from running one. A
// pursuit task keeps him on the list; the list alone gives him no new task.
void ChaseRegardless(World& world, Ped& cop) {
    if (cop.HasPursuitTask()) world.AddCriminal(cop);
    ChaseOnFoot(world, cop, *world.Player());
}

// A held-out cop does not pursue, but the host keeps noticing the wanted player near him.
void Relist(World& world, Ped& cop, std::uint32_t dtMs) {
    StopChaseMove(cop);
    if (Length(world.Player()->Position() - cop.Position()) > kRelistRange) return;
    if (world.Random()() % kRelistMeanMs >= dtMs) return;
    world.AddCriminal(cop);
    if (cop.HasCriminal(world.Player()) && world.Random()() % kTaskChanceOutOf == 0) GivePursuitTask(cop);
}

void StandDown(Ped& cop, const CPed* player) {
    StopChaseMove(cop);
    for (int t : kPursuitTasks) cop.RemoveTask(t);
    cop.DropCriminal(player);
}

}  // namespace

void RunHostPolice(World& world, std::uint32_t dtMs) {
    Ped* player = world.Player();
    const bool wanted = player != nullptr && player->m_fHealth > 0.0f && world.Wanted().m_nWantedLevel > 0;
    for (int i = 0; i < world.Peds().Size(); ++i) {
        Ped* cop = world.Peds().At(i);
        if (cop == nullptr || cop == player || cop->m_nPedType != PED_TYPE_COP || !(cop->m_fHealth > 0.0f))
            continue;
        if (!wanted) {
            StandDown(*cop, player);
        } else if (cop->m_nPursuitSuppressed == 0) {
            Chase(world, *cop);
        } else if (PursuesPlayer(*cop, *player)) {
            ChaseRegardless(world, *cop);
        } else {
            Relist(world, *cop, dtMs);
        }
    }
    RunHostPoliceVehicles(world, dtMs, wanted);
}

}  // namespace sandbox
