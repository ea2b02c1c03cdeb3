#include "play/player_action.h"

#include <cmath>
#include <optional>

#include "scenario/key_names.h"
#include "world/world.h"

namespace sandbox {

namespace {

// On foot as a pedestrian walks and runs; in a car as it drives in town and flat out.
constexpr float kWalk = 1.8f;
constexpr float kRun = 7.0f;
constexpr float kDrive = 12.0f;
constexpr float kDriveFast = 24.0f;
// A held direction is a walk to a point this far ahead, renewed while he is still this far from it:
// a saved play's events stay near where he went, as the scenario's path grid covers them all.
constexpr float kAhead = 30.0f;
constexpr float kRenewWithin = 10.0f;
// How near a car must be for the player to get in, and how long a shot and a key press last.
constexpr float kReach = 6.0f;
constexpr std::uint32_t kFireMs = 300;
constexpr std::uint32_t kKeyMs = 100;
constexpr int kPistol = 22;

float Axis(const nlohmann::json& message, const char* name) {
    const auto it = message.find(name);
    if (it == message.end()) return 0.0f;
    if (!it->is_number()) throw PlayInputError(std::string(name) + " must be a number");
    const double v = it->get<double>();
    if (!(v >= -1.0 && v <= 1.0)) throw PlayInputError(std::string(name) + " must lie in [-1, 1]");
    return static_cast<float>(v);
}

Event At(EventKind kind, std::uint32_t runMs) {
    Event e;
    e.kind = kind;
    e.atMs = runMs;
    return e;
}

bool Driving(const Ped& player) {
    return player.m_bInVehicle && player.m_pVehicle != nullptr && player.m_pVehicle->m_pDriver == &player;
}

// Where he is: his car's place while he drives it.
Vec3 Place(const Ped& player) {
    return Driving(player) ? static_cast<const Vehicle*>(player.m_pVehicle)->Position() : player.Position();
}

Event Move(const PlayerAction& action, const Ped& player, std::uint32_t runMs) {
    Event e = At(EventKind::playerMove, runMs);
    const bool driving = Driving(player);
    const Vec3 from = Place(player);
    const float length = std::hypot(action.dx, action.dy);
    e.to = from;
    if (length > 0.0f) {
        e.to.x += action.dx / length * kAhead;
        e.to.y += action.dy / length * kAhead;
    }
    e.speed = driving ? (action.run ? kDriveFast : kDrive) : (action.run ? kRun : kWalk);
    return e;
}

// The nearest car within reach that has no driver, by scenario id.
std::optional<std::string> FreeCarNear(World& world, Vec3 at) {
    std::optional<std::string> best;
    float bestDistance = kReach;
    for (int i = 0; i < world.Vehicles().Size(); ++i) {
        const Vehicle* v = world.Vehicles().At(i);
        if (v == nullptr || v->id.empty() || v->m_pDriver != nullptr) continue;
        const float d = std::hypot(v->Position().x - at.x, v->Position().y - at.y);
        if (d <= bestDistance) {
            bestDistance = d;
            best = v->id;
        }
    }
    return best;
}

}  // namespace

PlayerAction ReadPlayerAction(const nlohmann::json& message) {
    if (!message.is_object()) throw PlayInputError("a message is a JSON object");
    const auto what = message.find("do");
    if (what == message.end() || !what->is_string()) throw PlayInputError("a message needs \"do\"");
    PlayerAction action;
    const std::string name = what->get<std::string>();
    if (name == "move") {
        action.kind = PlayerAction::Kind::move;
        action.dx = Axis(message, "dx");
        action.dy = Axis(message, "dy");
        const auto run = message.find("run");
        if (run != message.end() && !run->is_boolean()) throw PlayInputError("run must be true or false");
        action.run = run != message.end() && run->get<bool>();
    } else if (name == "enter") {
        action.kind = PlayerAction::Kind::enterOrLeave;
    } else if (name == "fire") {
        action.kind = PlayerAction::Kind::fire;
    } else if (name == "key") {
        action.kind = PlayerAction::Kind::key;
        const auto key = message.find("key");
        if (key == message.end() || !key->is_string()) throw PlayInputError("key needs a key name");
        const std::optional<loader::KeyName> found = loader::FindKey(key->get<std::string>());
        if (!found) throw PlayInputError("unknown key name");
        action.key = std::string(found->name);
    } else {
        throw PlayInputError("unknown action");
    }
    return action;
}

std::optional<Event> RenewedMove(const PlayerAction& held, World& world, std::uint32_t runMs) {
    const Ped* player = world.Player();
    if (player == nullptr || held.kind != PlayerAction::Kind::move || (held.dx == 0.0f && held.dy == 0.0f))
        return std::nullopt;
    if (player->moving && !player->move.waypoints.empty()) {
        const Vec3 at = Place(*player);
        const Vec3 to = player->move.waypoints.back();
        if (std::hypot(to.x - at.x, to.y - at.y) > kRenewWithin) return std::nullopt;
    }
    return Move(held, *player, runMs);
}

std::optional<std::string> WhyNothing(const PlayerAction& action, World& world) {
    const Ped* player = world.Player();
    if (player == nullptr) return "there is no player in this scenario";
    if (action.kind == PlayerAction::Kind::enterOrLeave && !player->m_bInVehicle &&
        !FreeCarNear(world, player->Position()))
        return "E: no free car within " + std::to_string(static_cast<int>(kReach)) + " m";
    if (action.kind == PlayerAction::Kind::fire && world.Wanted().m_nWantedLevel == 0)
        return "F: a shot, but you are not wanted: the cops hear it and do nothing";
    return std::nullopt;
}

std::vector<Event> EventsFor(const PlayerAction& action, World& world, std::uint32_t runMs) {
    Ped* player = world.Player();
    if (player == nullptr) return {};
    switch (action.kind) {
        case PlayerAction::Kind::move: return {Move(action, *player, runMs)};
        case PlayerAction::Kind::enterOrLeave: {
            if (player->m_bInVehicle) return {At(EventKind::playerExit, runMs)};
            const std::optional<std::string> car = FreeCarNear(world, player->Position());
            if (!car) return {};
            Event e = At(EventKind::playerEnter, runMs);
            e.vehicle = *car;
            return {e};
        }
        case PlayerAction::Kind::fire: {
            Event e = At(EventKind::playerFire, runMs);
            const int held = player->m_aWeapons[player->m_nActiveWeaponSlot].m_eWeaponType;
            e.weapon = held > 0 ? held : kPistol;
            e.forMs = kFireMs;
            return {e};
        }
        case PlayerAction::Kind::key: {
            Event e = At(EventKind::key, runMs);
            const std::optional<loader::KeyName> found = loader::FindKey(action.key);
            e.key = action.key;
            e.keyCode = found ? found->code : 0;
            e.forMs = kKeyMs;
            return {e};
        }
    }
    return {};
}

}  // namespace sandbox
