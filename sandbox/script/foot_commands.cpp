// Host script commands that move and occupy peds on foot, and the path node query.

#include "script/script_commands.h"
#include "world/host_clock.h"
#include "world/move_states.h"
#include "world/world.h"

namespace sandbox {

namespace {

Ped* PedArg(const ScriptContext& c, std::size_t i) { return c.world.Peds().FromHandle(c.Int(i)); }
Vec3 PointArg(const ScriptContext& c, std::size_t first) {
    return {c.Float(first), c.Float(first + 1), c.Float(first + 2)};
}

void StartWalk(Ped& ped, std::vector<Vec3> waypoints, int moveState, std::uint32_t until) {
    ped.activity = {};
    ped.move = {};
    ped.move.waypoints = std::move(waypoints);
    ped.move.speed = MoveStateSpeed(moveState);
    ped.move.until = until;
    ped.moveState = moveState;
    ped.moving = !ped.move.waypoints.empty();
}

// 0x02C0: x, y, z in; the closest pedestrian node out, left at 0 when there is none.
const RegisterScriptCommand closestNode(0x02C0, 6, [](const ScriptContext& c) {
    const auto node = c.world.PathNetwork().Closest(PointArg(c, 0));
    if (!node) return false;
    c.SetResult(3, node->x);
    c.SetResult(4, node->y);
    c.SetResult(5, node->z);
    return true;
});

// 0x05F5: ped, x, y, z, move state, time (-1: none): walk there along the path nodes.
const RegisterScriptCommand followPath(0x05F5, 6, [](const ScriptContext& c) {
    Ped* ped = PedArg(c, 0);
    if (ped == nullptr || ped->m_bInVehicle) return false;
    const Vec3 to = PointArg(c, 1);
    const std::int32_t time = c.Int(5);
    StartWalk(*ped, c.world.PathNetwork().Route(ped->Position(), to), c.Int(4),
              time > 0 ? EndAfter(c.world.Now(), time) : 0);
    return true;
});

// 0x05D3: ped, x, y, z, move state, time ms: go straight there; walls stop him.
const RegisterScriptCommand goStraight(0x05D3, 6, [](const ScriptContext& c) {
    Ped* ped = PedArg(c, 0);
    if (ped == nullptr || ped->m_bInVehicle) return false;
    const std::int32_t time = c.Int(5);
    StartWalk(*ped, {PointArg(c, 1)}, c.Int(4), time > 0 ? EndAfter(c.world.Now(), time) : 0);
    return true;
});

// 0x05C9: ped, time ms: stand and turn about.
const RegisterScriptCommand lookAbout(0x05C9, 2, [](const ScriptContext& c) {
    Ped* ped = PedArg(c, 0);
    if (ped == nullptr) return false;
    ped->moving = false;
    ped->activity = {Activity::Kind::lookAbout, EndAfter(c.world.Now(), c.Int(1)), {}, -1};
    return true;
});

// 0x01B9: ped, weapon type: make the slot holding that weapon the active one.
const RegisterScriptCommand setWeapon(0x01B9, 2, [](const ScriptContext& c) {
    Ped* ped = PedArg(c, 0);
    if (ped == nullptr) return false;
    for (int slot = 0; slot < CPed::kWeaponSlots; ++slot) {
        if (ped->m_aWeapons[slot].m_eWeaponType == c.Int(1)) {
            ped->m_nActiveWeaponSlot = slot;
            return true;
        }
    }
    return false;
});

// 0x0667: ped, x, y, z, time ms: stand and aim at the point.
const RegisterScriptCommand aimAt(0x0667, 5, [](const ScriptContext& c) {
    Ped* ped = PedArg(c, 0);
    if (ped == nullptr) return false;
    ped->moving = false;
    ped->activity = {Activity::Kind::aim, EndAfter(c.world.Now(), c.Int(4)), PointArg(c, 1), -1};
    return true;
});

// 0x05E2: ped, target ped: go for the target and fight him until he is down or gone.
const RegisterScriptCommand attack(0x05E2, 2, [](const ScriptContext& c) {
    Ped* ped = PedArg(c, 0);
    if (ped == nullptr || c.world.Peds().FromHandle(c.Int(1)) == nullptr) return false;
    ped->activity = {Activity::Kind::attack, 0, {}, c.Int(1)};
    return true;
});

}  // namespace

}  // namespace sandbox
