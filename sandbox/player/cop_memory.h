#pragma once

#include <cstdint>
#include <vector>

#include "geometry/vec3.h"

namespace sandbox {

/// The cops the evading player has seen lately, one entry per cop, each kept for a few seconds after
/// he last saw that cop: he runs from where they were, not from where they are.
class CopMemory {
public:
    /// How long he keeps a cop he saw in mind (docs/host-model.md, "The evading player").
    static constexpr std::uint32_t kMemoryMs = 6000;

    struct Sighting {
        int slot;          ///< the cop's ped pool slot
        Vec3 pos;          ///< where he was
        std::uint32_t at;  ///< host ms
        bool above;        ///< in a helicopter
    };

    /// Drops the cops last seen `kMemoryMs` or more before `now`.
    void Forget(std::uint32_t now);
    /// Notes a cop seen at `now`, replacing what was kept of him.
    void Note(const Sighting& seen);
    const std::vector<Sighting>& Sightings() const { return seen_; }

private:
    std::vector<Sighting> seen_;
};

}  // namespace sandbox
