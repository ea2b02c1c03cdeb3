#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "scenario/scenario.h"

namespace sandbox {

class World;

/// A message from the live page that the sandbox cannot take; the page is told why.
class PlayInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// What the user does with the player, as the page sends it.
struct PlayerAction {
    enum class Kind { move, enterOrLeave, fire, key };
    Kind kind = Kind::move;
    float dx = 0.0f;   ///< move: the direction held, east (+1) or west (-1); both 0: stop
    float dy = 0.0f;   ///< move: north (+1) or south (-1)
    bool run = false;  ///< move: running, or driving fast
    std::string key;   ///< key: its name as scenario files write it ("F10")
};

/// Reads one action from the page's message ({"do": "move", "dx": 1, "dy": 0, "run": false},
/// {"do": "enter"}, {"do": "fire"}, {"do": "key", "key": "F10"}). Throws PlayInputError on
/// anything else.
PlayerAction ReadPlayerAction(const nlohmann::json& message);

/// A held direction walks him to a point a little ahead: the move on from where he is once he comes
/// near it (or stopped short of it), or nothing while he is on his way or no direction is held.
std::optional<Event> RenewedMove(const PlayerAction& held, World& world, std::uint32_t runMs);

/// The scenario events that carry the action out on the world as it stands, stamped with the
/// frame's run time: the same events a scenario file could hold, so that a play is kept as one.
/// None when the action does nothing now (no free car near to enter).
std::vector<Event> EventsFor(const PlayerAction& action, World& world, std::uint32_t runMs);

/// Why the action will do nothing the user can see on the world as it stands (E with no free car
/// near, F while nobody is after him); none when it will.
std::optional<std::string> WhyNothing(const PlayerAction& action, World& world);

}  // namespace sandbox
