#pragma once

#include <cstdint>

namespace sandbox {

class World;

/// The host's arrest: a pursuing cop on foot who stays within reach of the player on foot long
/// enough arrests him, and the host clears the wanted level. That is how a chase ends without an
/// escape.
class Arrest {
public:
    /// `holdMs` 0: the host arrests nobody.
    explicit Arrest(std::uint32_t holdMs) : holdMs_(holdMs) {}

    /// Runs after the host's police have had their frame of `dtMs`.
    void Run(World& world, std::uint32_t dtMs);
    /// Whether the player has been arrested at some frame so far.
    bool Made() const { return made_; }

private:
    std::uint32_t holdMs_;
    std::uint32_t heldMs_ = 0;  ///< how long some pursuing cop has had the player within reach
    bool made_ = false;
};

}  // namespace sandbox
