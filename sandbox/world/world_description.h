#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/vec3.h"

namespace sandbox {

// What a world starts from, in the units of a scenario file: headings are degrees, times
// milliseconds. The loader has checked it: ids are unique, references resolve, numbers are in range.

inline constexpr std::string_view kPlayerId = "player";
inline constexpr int kDriverSeat = -1;  // passenger seats are 0..7

struct Box {
    std::string id;  // may be empty: boxes need no id
    Vec3 min;
    Vec3 max;
};

struct NoGroundArea {
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;
};

struct PedNodes {
    enum class Layout { none, grid, points };

    Layout layout = Layout::none;
    float spacing = 0.0f;      // grid
    std::vector<Vec3> points;  // points
};

struct WorldSpec {
    float groundZ = 0.0f;
    std::vector<Box> boxes;
    std::vector<NoGroundArea> noGround;
    PedNodes pedNodes;
    int codeBuild = 1001;
    int starCallSites = 2;
};

struct Weapon {
    int type = 0;
    int ammo = 0;
};

/// A player who tries to get away on his own (see docs/host-model.md, "The evading player").
struct EvadeTraits {
    float footSpeed = 7.0f;          ///< m/s running
    float carSpeed = 18.0f;          ///< m/s driving
    std::uint32_t reactionMs = 700;  ///< between two looks round
    float caution = 35.0f;           ///< m: a cop this near makes him move on, seen or not
    float sight = 90.0f;             ///< m: how far he notices a cop in the open
};

struct PlayerSpec {
    Vec3 pos;
    float heading = 0.0f;
    float health = 100.0f;
    int wanted = 0;
    std::vector<Weapon> weapons;
    std::string vehicle;  // empty: on foot
    int seat = kDriverSeat;
    std::optional<EvadeTraits> evade;  ///< empty: he only does what the scenario's events say
};

struct PedSpec {
    std::string id;  // may be empty when nothing refers to the ped
    int type = 0;
    Vec3 pos;
    float heading = 0.0f;
    float health = 100.0f;
    float armour = 0.0f;
    std::vector<Weapon> weapons;
    std::string vehicle;  // empty: on foot
    int seat = kDriverSeat;
    std::optional<std::uint32_t> leaveMs;  // getting out of a vehicle; empty: as the vehicle says
    std::optional<float> runSpeed;         // m/s when the host's police run; empty: the host's usual
};

struct VehicleSpec {
    std::string id;  // may be empty when nothing refers to the vehicle
    int model = 0;
    Vec3 pos;
    float heading = 0.0f;
    bool lawEnforcer = false;
    std::optional<std::uint32_t> leaveMs;  // getting out of it; empty: the host's usual time
};

/// Everything a world is built from. It refers to parts held elsewhere (a scenario's), which need
/// to live only while the world is being built.
struct WorldDescription {
    const WorldSpec& world;
    const PlayerSpec& player;
    const std::vector<PedSpec>& peds;
    const std::vector<VehicleSpec>& vehicles;
    std::uint32_t seed = 1;                     ///< the host's own draws
    std::uint32_t clockStartMs = 0;             ///< the host clock at the start
    std::optional<std::int32_t> copCarCounter;  ///< empty: the host counts the law-enforcer cars itself
    std::pair<Vec3, Vec3> nodeArea;             ///< lowest and highest corner a grid of path nodes covers
};

}  // namespace sandbox
