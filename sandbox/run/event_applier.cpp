#include "run/event_applier.h"

#include <cmath>
#include <numbers>

#include "scenario/scenario.h"
#include "world/host_clock.h"
#include "world/world.h"

namespace sandbox {

namespace {

void WalkTo(Ped& ped, Vec3 to, float speed) {
    ped.move = {};
    ped.move.waypoints.push_back(to);
    ped.move.speed = speed;
    ped.moving = true;
}

void Damage(World& world, const Event& e) {
    Ped* target = world.FindPed(e.target);
    if (target == nullptr) return;
    float amount = e.amount;
    const float absorbed = std::min(target->m_fArmour, amount);
    target->m_fArmour -= absorbed;
    amount -= absorbed;
    target->m_fHealth = std::max(0.0f, target->m_fHealth - amount);
    if (Ped* source = world.FindPed(e.source)) {
        target->m_pLastDamageEntity = source;
    } else if (Vehicle* vehicle = world.FindVehicle(e.source)) {
        target->m_pLastDamageEntity = vehicle;
    }
}

}  // namespace

void ApplyEvent(World& world, const Event& e) {
    Ped* player = world.Player();
    switch (e.kind) {
        case EventKind::playerMove: WalkTo(*player, e.to, e.speed); break;
        case EventKind::playerWarp:
            player->moving = false;
            if (player->m_bInVehicle && player->m_pVehicle != nullptr) {
                static_cast<Vehicle*>(player->m_pVehicle)->SetPosition(e.to);
            }
            player->SetPosition(e.to);
            if (e.heading) player->m_fHeading = Radians(*e.heading);
            break;
        case EventKind::playerEnter:
            if (Vehicle* v = world.FindVehicle(e.vehicle)) world.SeatPed(*player, *v, e.seat);
            break;
        case EventKind::playerExit: world.UnseatPed(*player); break;
        case EventKind::playerFire: {
            CWeapon& weapon = player->m_aWeapons[player->m_nActiveWeaponSlot];
            weapon.m_eWeaponType = e.weapon;
            weapon.m_nState = WEAPONSTATE_FIRING;
            world.SetFiringUntil(EndAfter(world.Now(), e.forMs));
            break;
        }
        case EventKind::playerDie: player->m_fHealth = 0.0f; break;
        case EventKind::wanted:
            world.Wanted().m_nWantedLevel = static_cast<unsigned int>(std::max(0, e.level));
            break;
        case EventKind::key: world.HoldKey(e.keyCode, e.forMs); break;
        case EventKind::spawn:
            if (e.spawnPed) world.SpawnPed(*e.spawnPed);
            if (e.spawnVehicle) world.SpawnVehicle(*e.spawnVehicle);
            break;
        case EventKind::remove: world.Remove(e.id); break;
        case EventKind::damage: Damage(world, e); break;
        case EventKind::pedMoveTo:
            if (Ped* ped = world.FindPed(e.id)) WalkTo(*ped, e.to, e.speed);
            break;
        case EventKind::hostTask:
            if (Ped* ped = world.FindPed(e.id))
                ped->AddTask(e.task, e.forMs == 0 ? 0 : EndAfter(world.Now(), e.forMs));
            break;
        case EventKind::hostCriminal:
            if (Ped* ped = world.FindPed(e.id)) {
                if (e.slot < 0) {
                    world.AddCriminal(*ped);
                } else {
                    world.AddCriminalAt(*ped, e.slot);
                }
            }
            break;
        case EventKind::hostMission:
            if (Vehicle* v = world.FindVehicle(e.vehicle)) {
                v->m_autoPilot.m_nCarMission = static_cast<signed char>(e.mission);
                if (e.tempAction) v->m_autoPilot.m_nTempAction = static_cast<signed char>(*e.tempAction);
                if (e.cruise) v->m_autoPilot.m_nCruiseSpeed = static_cast<unsigned char>(*e.cruise);
            }
            break;
        case EventKind::hostLawFlag:
            if (Vehicle* v = world.FindVehicle(e.vehicle)) v->m_bIsLawEnforcer = e.on;
            break;
        case EventKind::hostCopCarCounter:
            CCarCtrl::NumLawEnforcerCars = static_cast<unsigned int>(e.value);
            break;
        case EventKind::pedType:
            if (Ped* ped = world.FindPed(e.id)) ped->m_nPedType = e.pedType;
            break;
    }
}

}  // namespace sandbox
