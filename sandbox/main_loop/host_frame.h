#pragma once

#include <cstdint>
#include <optional>

#include "player/evading_player.h"
#include "police/arrest.h"
#include "police/wanted_clearing.h"
#include "world/world_description.h"

namespace sandbox {

class World;

/// What the host does by itself besides moving things, as a scenario sets it.
struct HostRules {
    bool pursuit = true;               ///< the host's police chase the wanted player
    std::uint32_t wantedClearMs = 0;   ///< the host clears the level after this long unpursued; 0: never
    std::optional<EvadeTraits> evade;  ///< the player's own behaviour; empty: only the scenario moves him
    std::uint32_t arrestMs = 0;        ///< a pursuing cop within reach this long arrests the player; 0: never
};

/// The host's frame processing, its own work for one frame of `dtMs`: timed tasks end, the host's
/// police chase the wanted player (unless the scenario keeps them out of it) and may clear the level,
/// an evading player makes his choice, peds and vehicles move.
class HostFrame {
public:
    explicit HostFrame(const HostRules& rules);

    void Run(World& world, std::uint32_t dtMs);
    /// Whether the host has cleared the wanted level by its own rule so far.
    bool WantedCleared() const { return clearing_.Cleared(); }
    /// Whether the host's police have arrested the player so far.
    bool Arrested() const { return arrest_.Made(); }

private:
    bool pursuit_;
    WantedClearing clearing_;
    Arrest arrest_;
    std::optional<EvadingPlayer> player_;
};

}  // namespace sandbox
