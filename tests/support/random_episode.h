#pragma once

#include <cstdint>
#include <string>

#include "scenario/scenario.h"

namespace testing_support {

/// One random wanted episode: 1 to 100 cops on foot, in cars and in helicopters around a player who
/// runs, warps, shoots, dies, loses and gains stars and presses F10, while cops and cars are spawned
/// and removed (sometimes in the same frame), hurt and killed; extreme and non-finite settings,
/// frames of 0 ms to several seconds, and a clock that may wrap. The wanted level is cleared at
/// `clearedAtMs` and the run goes on for a while after it, so the end of the episode can be checked.
struct RandomEpisode {
    unsigned seed = 0;
    std::string json;               ///< the scenario file, for reproducing a failure with the sandbox
    sandbox::Scenario scenario;     ///< as loaded from `json`, plus 0 ms frames where drawn
    std::uint32_t clearedAtMs = 0;  ///< run ms of the event that clears the wanted level
};

/// The same seed always gives the same episode.
RandomEpisode MakeRandomEpisode(unsigned seed);

}  // namespace testing_support
