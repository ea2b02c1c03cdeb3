#include "world/world.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "host/pools.h"
#include "host/screen.h"
#include "host/timer.h"
#include "pools/host_tasks.h"
#include "world/heli_order.h"
#include "world/host_clock.h"
#include "world/host_world.h"
#include "world/ped_activity.h"
#include "world/vehicle_motion.h"

namespace sandbox {

namespace {

void ArmPed(Ped& ped, const std::vector<Weapon>& weapons) {
    for (std::size_t i = 0; i < weapons.size() && i < CPed::kWeaponSlots; ++i) {
        ped.m_aWeapons[i].m_eWeaponType = weapons[i].type;
        ped.m_aWeapons[i].m_nTotalAmmo = static_cast<unsigned int>(std::max(0, weapons[i].ammo));
    }
}

PathNetwork BuildNodes(const WorldDescription& description, const Geometry& geometry) {
    const PedNodes& setup = description.world.pedNodes;
    if (setup.layout == PedNodes::Layout::grid) {
        const auto [lo, hi] = description.nodeArea;
        return PathNetwork::Grid(setup.spacing, lo, hi, geometry);
    }
    if (setup.layout == PedNodes::Layout::points) return PathNetwork::Points(setup.points, geometry);
    return {};
}

}  // namespace

World::World(const WorldDescription& description)
    : peds_(kPedPoolAddress, kPedSlots),
      vehicles_(kVehiclePoolAddress, kVehicleSlots),
      code_(description.world.codeBuild, description.world.starCallSites),
      random_(description.seed) {
    AttachHostWorld(this);
    CPools::ms_pPedPool = &peds_;
    CPools::ms_pVehiclePool = &vehicles_;
    TheCamera = CCamera{};
    ResetHudColours();
    CCarCtrl::NumLawEnforcerCars = 0;
    SetClock(description.clockStartMs);

    geometry_.groundZ = description.world.groundZ;
    std::vector<SolidBox> boxes;
    for (const Box& box : description.world.boxes) boxes.push_back({box.id, box.min, box.max});
    geometry_.SetBoxes(std::move(boxes));
    for (const NoGroundArea& a : description.world.noGround)
        geometry_.holes.push_back({a.minX, a.minY, a.maxX, a.maxY});

    pathNetwork_ = BuildNodes(description, geometry_);
    code_.Bind(CodeImage::kDrawWanted, [this] { hud_.DrawStars(wanted_, now_); });
    code_.BindMethod(CodeImage::kHeliOrder,
                     [this](void* self, const CodeImage::MethodArgs& args) { OrderHeli(*this, self, args); });

    for (const VehicleSpec& v : description.vehicles) SpawnVehicle(v);
    PedSpec playerSpec;
    playerSpec.id = std::string(kPlayerId);
    playerSpec.type = PED_TYPE_PLAYER1;
    playerSpec.pos = description.player.pos;
    playerSpec.heading = description.player.heading;
    playerSpec.health = description.player.health;
    playerSpec.weapons = description.player.weapons;
    playerSpec.vehicle = description.player.vehicle;
    playerSpec.seat = description.player.seat;
    player_ = SpawnPed(playerSpec, true);
    wanted_.m_nWantedLevel = static_cast<unsigned int>(std::max(0, description.player.wanted));
    for (const PedSpec& p : description.peds) SpawnPed(p);
    if (description.copCarCounter) {
        CCarCtrl::NumLawEnforcerCars = static_cast<unsigned int>(*description.copCarCounter);
    }
}

World::~World() {
    CPools::ms_pPedPool = nullptr;
    CPools::ms_pVehiclePool = nullptr;
    AttachHostWorld(nullptr);
}

void World::SetClock(std::uint32_t now) {
    now_ = now;
    CTimer::m_snTimeInMilliseconds = now;
}

Ped* World::FindPed(const std::string& id) {
    for (int i = 0; i < peds_.Size(); ++i) {
        if (Ped* ped = peds_.At(i); ped != nullptr && ped->id == id) return ped;
    }
    return nullptr;
}

Vehicle* World::FindVehicle(const std::string& id) {
    for (int i = 0; i < vehicles_.Size(); ++i) {
        if (Vehicle* v = vehicles_.At(i); v != nullptr && v->id == id) return v;
    }
    return nullptr;
}

Ped* World::SpawnPed(const PedSpec& setup, bool isPlayer) {
    Ped* ped = peds_.Create(setup.id);
    if (ped == nullptr) throw std::runtime_error("the ped pool is full");
    ped->m_nPedType = isPlayer ? PED_TYPE_PLAYER1 : setup.type;
    ped->SetPosition(setup.pos);
    ped->m_fHeading = Radians(setup.heading);
    ped->m_fHealth = setup.health;
    ped->m_fArmour = setup.armour;
    ped->leaveVehicleMs = setup.leaveMs.value_or(0);
    if (setup.runSpeed) ped->runSpeed = *setup.runSpeed;
    ArmPed(*ped, setup.weapons);
    if (!setup.vehicle.empty()) {
        if (Vehicle* vehicle = FindVehicle(setup.vehicle)) SeatPed(*ped, *vehicle, setup.seat);
    }
    return ped;
}

Vehicle* World::SpawnVehicle(const VehicleSpec& setup) {
    Vehicle* vehicle = vehicles_.Create(setup.id);
    if (vehicle == nullptr) throw std::runtime_error("the vehicle pool is full");
    vehicle->m_nModelIndex = setup.model;
    vehicle->SetPosition(setup.pos);
    vehicle->m_fHeading = Radians(setup.heading);
    vehicle->m_bIsLawEnforcer = setup.lawEnforcer;
    if (setup.leaveMs) vehicle->leaveMs = *setup.leaveMs;
    if (vehicle->m_bIsLawEnforcer) ++CCarCtrl::NumLawEnforcerCars;
    return vehicle;
}

bool World::Remove(const std::string& id) {
    if (Ped* ped = FindPed(id); ped != nullptr && ped != player_) {
        UnseatPed(*ped);
        // Nobody keeps pointing at a ped that is gone.
        for (int i = 0; i < peds_.Size(); ++i) {
            if (Ped* other = peds_.At(i)) {
                other->DropCriminal(ped);
                if (other->m_pLastDamageEntity == ped) other->m_pLastDamageEntity = nullptr;
            }
        }
        peds_.Free(peds_.IndexOf(ped));
        return true;
    }
    if (Vehicle* vehicle = FindVehicle(id)) {
        for (int i = 0; i < peds_.Size(); ++i) {
            Ped* ped = peds_.At(i);
            if (ped == nullptr) continue;
            if (ped->m_pVehicle == vehicle) {
                UnseatPed(*ped);
                ped->m_pVehicle = nullptr;
            }
            // A new vehicle in the freed slot did not hurt anybody.
            if (ped->m_pLastDamageEntity == vehicle) ped->m_pLastDamageEntity = nullptr;
        }
        if (vehicle->m_bIsLawEnforcer && CCarCtrl::NumLawEnforcerCars > 0) --CCarCtrl::NumLawEnforcerCars;
        vehicles_.Free(vehicles_.IndexOf(vehicle));
        return true;
    }
    return false;
}

void World::SeatPed(Ped& ped, Vehicle& vehicle, int seat) {
    UnseatPed(ped);
    if (seat < 0) {
        if (vehicle.m_pDriver != nullptr) UnseatPed(*static_cast<Ped*>(vehicle.m_pDriver));
        vehicle.m_pDriver = &ped;
    } else {
        CPed*& place = vehicle.m_apPassengers[seat];
        if (place != nullptr) UnseatPed(*static_cast<Ped*>(place));
        place = &ped;
    }
    ped.m_pVehicle = &vehicle;
    ped.m_bInVehicle = true;
    ped.seat = seat;
    ped.SetPosition(vehicle.Position());
    ped.moving = false;
}

bool World::StartLeavingVehicle(Ped& ped) {
    if (!ped.m_bInVehicle || ped.m_pVehicle == nullptr) return false;
    // An exit already under way is not started over.
    if (ped.HasTask(kTaskLeaveVehicle)) return true;
    const std::uint32_t takes =
        ped.leaveVehicleMs != 0 ? ped.leaveVehicleMs : static_cast<const Vehicle*>(ped.m_pVehicle)->leaveMs;
    ped.AddTask(kTaskLeaveVehicle, EndAfter(now_, takes));
    return true;
}

void World::UnseatPed(Ped& ped) {
    if (!ped.m_bInVehicle || ped.m_pVehicle == nullptr) return;
    auto& vehicle = *ped.m_pVehicle;
    if (vehicle.m_pDriver == &ped) vehicle.m_pDriver = nullptr;
    for (CPed*& p : vehicle.m_apPassengers) {
        if (p == &ped) p = nullptr;
    }
    ped.m_bInVehicle = false;
    // He stands beside the car, on its left.
    const float h = vehicle.m_fHeading;
    ped.SetPosition(static_cast<Vehicle&>(vehicle).Position() +
                    Vec3{-std::cos(h) * 2.0f, -std::sin(h) * 2.0f, 0.0f});
}

void World::AddCriminal(Ped& cop) { cop.AddCriminal(player_); }

void World::AddCriminalAt(Ped& cop, int slot) { cop.AddCriminalAt(player_, slot); }

void World::HoldKey(int virtualKey, std::uint32_t forMs) {
    keys_.push_back({virtualKey, EndAfter(now_, forMs)});
}

bool World::KeyDown(int virtualKey) const {
    return std::any_of(keys_.begin(), keys_.end(),
                       [&](const HeldKey& k) { return k.key == virtualKey && Running(now_, k.until); });
}

void World::ShowMessage(const std::string& text, std::uint32_t forMs) {
    message_ = text;
    messageUntil_ = EndAfter(now_, forMs);
}

std::string World::Message() const { return Running(now_, messageUntil_) ? message_ : std::string(); }

void World::Move(std::uint32_t dtMs) {
    const float dt = static_cast<float>(dtMs) / 1000.0f;
    UpdatePedActivities(*this, dt);
    UpdateVehicles(*this, dt);
    MoveEntities(dt);
}

void World::EndTimedTasks() {
    CWeapon& weapon = player_->m_aWeapons[player_->m_nActiveWeaponSlot];
    if (weapon.m_nState == WEAPONSTATE_FIRING && !Running(now_, firingUntil_)) {
        weapon.m_nState = WEAPONSTATE_READY;
    }
    for (int i = 0; i < peds_.Size(); ++i) {
        Ped* ped = peds_.At(i);
        if (ped == nullptr) continue;
        const auto ended = [&](const ActiveTask& t) { return Ended(now_, t.until); };
        if (std::none_of(ped->tasks.begin(), ped->tasks.end(), ended)) continue;
        // Getting out of a vehicle ends with the ped standing beside it.
        const bool gotOut = std::any_of(ped->tasks.begin(), ped->tasks.end(), [&](const ActiveTask& t) {
            return t.type == kTaskLeaveVehicle && ended(t);
        });
        std::erase_if(ped->tasks, ended);
        if (gotOut) UnseatPed(*ped);
    }
}

void World::MoveEntities(float dtSeconds) {
    for (int i = 0; i < peds_.Size(); ++i) {
        Ped* ped = peds_.At(i);
        if (ped == nullptr) continue;
        if (ped->m_bInVehicle && ped->m_pVehicle != nullptr) {
            Vehicle& vehicle = static_cast<Vehicle&>(*ped->m_pVehicle);
            if (ped->moving && vehicle.m_pDriver == ped) {
                // A driving player takes his car along.
                MoveOrder& order = ped->move;
                const Vec3 to = order.waypoints.front();
                const Step step = StepTowards(vehicle.Position(), to, order.speed * dtSeconds);
                if (step.reached) {
                    order.waypoints.erase(order.waypoints.begin());
                    if (order.waypoints.empty()) ped->moving = false;
                } else {
                    vehicle.m_fHeading = HeadingAlong(to - vehicle.Position());
                }
                vehicle.SetPosition(step.next);
            }
            ped->SetPosition(vehicle.Position());
            continue;
        }
        if (!ped->moving || ped->move.waypoints.empty()) {
            ped->moving = false;
            continue;
        }
        MoveOrder& order = ped->move;
        if (Ended(now_, order.until)) {
            ped->moving = false;
            continue;
        }
        const Vec3 p = ped->Position();
        const Vec3 to = order.waypoints.front();
        // The player goes where the scenario sends him; walls stop the host's peds.
        const float stride = order.speed * dtSeconds;
        const std::optional<Step> step =
            ped == player_ ? StepTowards(p, to, stride) : footSteps_.Take(i, p, to, stride, geometry_);
        if (!step) continue;
        const auto [stepped, reached] = *step;
        Vec3 next = stepped;
        if (Length2D(to - p) > 0.001f) ped->m_fHeading = HeadingAlong(to - p);
        // Host peds keep to the ground (up a kerb, down off a roof); over a hole they keep their height.
        const float knee = p.z + FootSteps::kKnee;
        if (const float ground = geometry_.GroundZUnder(next.x, next.y, knee);
            ped != player_ && ground > -50.0f) {
            next.z = ground;
        }
        ped->SetPosition(next);
        if (reached) {
            order.waypoints.erase(order.waypoints.begin());
            if (order.waypoints.empty()) ped->moving = false;
        }
    }
}

}  // namespace sandbox
