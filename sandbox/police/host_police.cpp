#include "police/host_police.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "police/police_vehicles.h"
#include "pools/host_tasks.h"
#include "world/world.h"

namespace sandbox {

namespace {

// The numbers are documented in docs/host-model.md, "Police logic".
constexpr float kChaseSpeed = 5.0f;            // m/s, on foot
constexpr float kChaseStopShort = 3.0f;        // m from the player
constexpr float kRelistRange = 50.0f;          // m, 3D
constexpr std::uint32_t kRelistMeanMs = 5000;  // mean time between re-listings of one held-out cop
constexpr std::uint32_t kTaskChanceOutOf = 2;  // a re-listing brings a pursuit task one time in two

void GivePursuitTask(Ped& cop) {
    if (!cop.HasPursuitTask()) cop.AddTask(cop.m_bInVehicle ? kTaskPursuitInVehicle : kTaskPursuitOnFoot, 0);
}

void StopChaseMove(Ped& cop) {
    if (!cop.move.hostChase) return;
    cop.moving = false;
    cop.move = {};
}

// Runs at the player and stops a little short; a wall in the way stops him.
void ChaseOnFoot(Ped& cop, const Ped& player) {
    if (cop.moving && !cop.move.hostChase) return;  // an order of someone else's comes first
    if (cop.HasTask(kTaskLeaveVehicle)) return;
    const Vec3 to = player.Position() - cop.Position();
    const float d = Length2D(to);
    if (d <= kChaseStopShort) {
        StopChaseMove(cop);
        return;
    }
    // A fresh order every frame, kept in the waypoint list he already has: no allocation per cop.
    std::vector<Vec3> waypoints = std::move(cop.move.waypoints);
    waypoints.clear();
    waypoints.push_back(cop.Position() + Vec3{to.x, to.y, 0.0f} * ((d - kChaseStopShort) / d));
    cop.move = {};
    cop.move.waypoints = std::move(waypoints);
    cop.move.speed = kChaseSpeed;
    cop.move.hostChase = true;
    cop.moving = true;
}

void Chase(World& world, Ped& cop) {
    world.AddCriminal(cop);
    GivePursuitTask(cop);
    if (!cop.m_bInVehicle) ChaseOnFoot(cop, *world.Player());
}

// A held-out cop who still has the player on his list or a pursuit task after him goes for the
// player all the same: the flag keeps the host from starting a pursuit, not from running one. A
// pursuit task keeps him on the list; the list alone gives him no new task.
void ChaseRegardless(World& world, Ped& cop) {
    if (cop.HasPursuitTask()) world.AddCriminal(cop);
    if (!cop.m_bInVehicle) ChaseOnFoot(cop, *world.Player());
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
        } else if (cop->HasCriminal(player) || cop->HasPursuitTask()) {
            ChaseRegardless(world, *cop);
        } else {
            Relist(world, *cop, dtMs);
        }
    }
    RunHostPoliceVehicles(world, dtMs, wanted);
}

}  // namespace sandbox
