#include "scenario/entity_section.h"

#include <cfloat>
#include <cstdint>
#include <limits>
#include <map>
#include <utility>

#include "host/ped.h"
#include "pools/pool_sizes.h"
#include "scenario/value_readers.h"

namespace sandbox::loader {

namespace {

std::vector<Weapon> ReadWeapons(const Json& value, const std::string& path) {
    std::vector<Weapon> weapons;
    ForEachElement(value, path, [&](const Json& element, const std::string& elementPath) {
        if (weapons.size() == CPed::kWeaponSlots) {
            Fail(elementPath, "a ped has " + std::to_string(CPed::kWeaponSlots) + " weapon slots, all taken");
        }
        Fields f(element, elementPath);
        f.Allow({"type", "ammo"});
        weapons.push_back({f.Req("type", Whole()), f.Req("ammo", Whole())});
    });
    return weapons;
}

// How long getting out of a vehicle takes; 0 would make the exit task end before anyone saw it.
uint32_t ReadLeaveMs(const Json& value, const std::string& path) {
    return static_cast<uint32_t>(ReadWhole(value, path, 1, std::numeric_limits<int32_t>::max()));
}

// A seat without a vehicle is an error; the vehicle itself is checked once all ids are known.
void CheckSeating(const Fields& f, const std::string& vehicle, std::vector<PendingRef>& refs) {
    if (vehicle.empty() && f.Has("seat")) {
        Fail(f.PathOf("seat"), "a seat needs a vehicle");
    }
    if (!vehicle.empty()) {
        refs.push_back({f.PathOf("vehicle"), vehicle, RefKind::vehicle});
    }
}

// The player's own behaviour and its numbers, which only an evading player may carry.
std::optional<EvadeTraits> ReadBehaviour(const Fields& f) {
    const std::string behaviour = f.Opt("behaviour", std::string(), ReadString);
    if (behaviour.empty()) {
        for (std::string_view key : kBehaviourKeys) {
            if (f.Has(key)) Fail(f.PathOf(key), "needs \"behaviour\": \"evade\"");
        }
        return std::nullopt;
    }
    if (behaviour != "evade")
        Fail(f.PathOf("behaviour"), "unknown behaviour \"" + behaviour + "\"; known: evade");
    // Speeds up to a fast car's; a reaction of at least one frame.
    const auto speed = [](const Json& v, const std::string& p) { return ReadReal(v, p, 0.5, 60.0); };
    const auto metres = [](const Json& v, const std::string& p) { return ReadReal(v, p, 0.0, 1000.0); };
    EvadeTraits evade;
    evade.footSpeed = f.Opt("footSpeed", evade.footSpeed, speed);
    evade.carSpeed = f.Opt("carSpeed", evade.carSpeed, speed);
    evade.reactionMs = f.Opt("reactionMs", evade.reactionMs, [](const Json& v, const std::string& p) {
        return static_cast<uint32_t>(ReadWhole(v, p, 1, 60000));
    });
    evade.caution = f.Opt("caution", evade.caution, metres);
    evade.sight = f.Opt("sight", evade.sight, metres);
    return evade;
}

void ReadPlayer(const Fields& f, PlayerSpec& player, std::vector<PendingRef>& refs) {
    std::vector<std::string_view> keys = {"pos", "heading", "health", "wanted", "weapons", "vehicle", "seat"};
    keys.insert(keys.end(), std::begin(kBehaviourKeys), std::end(kBehaviourKeys));
    f.Allow(keys);
    player.evade = ReadBehaviour(f);
    player.pos = f.Opt("pos", Vec3{}, ReadVec3);
    player.heading = f.Opt("heading", 0.0f, AtLeast(-FLT_MAX));
    player.health = f.Opt("health", 100.0f, AtLeast(0.0));
    player.wanted = f.Opt("wanted", 0, Whole(0, 6));
    player.weapons = f.Opt("weapons", std::vector<Weapon>(), ReadWeapons);
    player.vehicle = f.Opt("vehicle", std::string(), ReadId);
    player.seat = f.Opt("seat", kDriverSeat, ReadSeat);
    CheckSeating(f, player.vehicle, refs);
}

// A start list goes into a pool: an element past its capacity is an error.
template <typename Entity, typename Read>
void ReadStartList(const Fields& root, const std::string& key, std::size_t capacity, const std::string& full,
                   ObjectKind kind, IdRegistry& ids, std::vector<Entity>& entities, Read read) {
    const Json* list = root.Optional(key);
    if (list == nullptr) {
        return;
    }
    ForEachElement(*list, key, [&](const Json& value, const std::string& path) {
        if (entities.size() == capacity) {
            Fail(path, full);
        }
        entities.push_back(read(value, path));
        ids.Declare(entities.back().id, kind, ChildPath(path, "id"));
    });
}

std::string SeatWord(int seat) {
    return seat == kDriverSeat ? "the driver's seat" : "passenger seat " + std::to_string(seat);
}

void CheckSeatsTaken(const Scenario& scenario) {
    std::map<std::pair<std::string, int>, std::string> taken;
    auto occupy = [&](const std::string& vehicle, int seat, const std::string& who, const std::string& path) {
        if (vehicle.empty()) {
            return;
        }
        auto [it, added] = taken.emplace(std::make_pair(vehicle, seat), who);
        if (!added) {
            Fail(path, SeatWord(seat) + " of " + Quoted(vehicle) + " is already taken by " + it->second);
        }
    };
    occupy(scenario.player.vehicle, scenario.player.seat, "the player", "player.seat");
    for (std::size_t i = 0; i < scenario.peds.size(); ++i) {
        const PedSpec& ped = scenario.peds[i];
        std::string who = ped.id.empty() ? "peds[" + std::to_string(i) + "]" : Quoted(ped.id);
        occupy(ped.vehicle, ped.seat, who, ChildPath(ElementPath("peds", i), "seat"));
    }
}

}  // namespace

PedSpec ReadPed(const Json& value, const std::string& path, std::vector<PendingRef>& refs) {
    Fields f(value, path);
    f.Allow({"id", "type", "pos", "heading", "health", "armour", "weapons", "vehicle", "seat", "leaveMs"});
    PedSpec ped;
    ped.id = f.Opt("id", std::string(), ReadId);
    ped.type = f.Req("type", Whole());
    ped.pos = f.Req("pos", ReadVec3);
    ped.heading = f.Opt("heading", 0.0f, AtLeast(-FLT_MAX));
    ped.health = f.Opt("health", 100.0f, AtLeast(0.0));
    ped.armour = f.Opt("armour", 0.0f, AtLeast(0.0));
    ped.weapons = f.Opt("weapons", std::vector<Weapon>(), ReadWeapons);
    ped.vehicle = f.Opt("vehicle", std::string(), ReadId);
    ped.seat = f.Opt("seat", kDriverSeat, ReadSeat);
    ped.leaveMs = f.Maybe("leaveMs", ReadLeaveMs);
    CheckSeating(f, ped.vehicle, refs);
    return ped;
}

VehicleSpec ReadVehicle(const Json& value, const std::string& path) {
    Fields f(value, path);
    f.Allow({"id", "model", "pos", "heading", "lawEnforcer", "leaveMs"});
    VehicleSpec vehicle;
    vehicle.id = f.Opt("id", std::string(), ReadId);
    vehicle.model = f.Req("model", Whole());
    vehicle.pos = f.Req("pos", ReadVec3);
    vehicle.heading = f.Opt("heading", 0.0f, AtLeast(-FLT_MAX));
    vehicle.lawEnforcer = f.Opt("lawEnforcer", false, ReadBool);
    vehicle.leaveMs = f.Maybe("leaveMs", ReadLeaveMs);
    return vehicle;
}

std::string PoolFull(std::string_view kind, int slots) {
    return "the " + std::string(kind) + " pool is full: it has " + std::to_string(slots) + " slots";
}

void ReadStartEntities(const Fields& root, IdRegistry& ids, Scenario& scenario) {
    // Who sits in which vehicle is checked once all start objects are known.
    std::vector<PendingRef> refs;
    ReadStartList(root, "vehicles", static_cast<std::size_t>(kVehiclePoolSlots),
                  PoolFull("vehicle", kVehiclePoolSlots), ObjectKind::vehicle, ids, scenario.vehicles,
                  ReadVehicle);
    ReadPlayer(Fields(root.Required("player"), "player"), scenario.player, refs);
    // The player takes one slot of the ped pool.
    ReadStartList(root, "peds", static_cast<std::size_t>(kPedPoolSlots - 1),
                  PoolFull("ped", kPedPoolSlots) + ", the player's included", ObjectKind::ped, ids,
                  scenario.peds,
                  [&](const Json& value, const std::string& path) { return ReadPed(value, path, refs); });
    for (const PendingRef& ref : refs) {
        ids.Check(ref, true);
    }
    CheckSeatsTaken(scenario);
}

}  // namespace sandbox::loader
