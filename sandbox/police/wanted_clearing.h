#pragma once

#include <cstdint>
#include <optional>

namespace sandbox {

class World;

/// The host's end of a wanted level: once no cop has pursued the player (none carries a pursuit
/// task, none has him on his criminal list) for `afterMs` in a row, the host clears the level.
class WantedClearing {
public:
    /// `afterMs` 0: the host never clears the level itself.
    explicit WantedClearing(std::uint32_t afterMs) : afterMs_(afterMs) {}

    /// Runs after the host's police have had their frame.
    void Run(World& world);
    /// Whether this rule has cleared the level at some frame so far.
    bool Cleared() const { return cleared_; }

private:
    std::uint32_t afterMs_;
    std::optional<std::uint32_t> quietSince_;  ///< host ms of the first frame without a pursuer
    bool cleared_ = false;
};

}  // namespace sandbox
