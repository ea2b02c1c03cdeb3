#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "run/scenario_run.h"

namespace sandbox {

/// A wanted episode: from "wanted level started" to "wanted level ended" (open at the run's end).
struct Episode {
    std::uint32_t startMs = 0;
    std::optional<std::uint32_t> endMs;
};

/// One cop's turns in run-time order: true when he lost the player, false when he chased again.
struct CopStory {
    std::string cop;  ///< scenario id, or the address when the sandbox cannot name him
    std::vector<std::pair<std::uint32_t, bool>> turns;
};

/// What a run did, read from its log and its star drawing.
struct RunStory {
    std::vector<Episode> episodes;
    std::vector<CopStory> cops;  ///< by name
};

RunStory TellRun(const RunOutcome& outcome);

/// The numbers a sweep compares runs by. Times are run ms; empty where it never happened.
struct RunMetrics {
    std::optional<std::uint32_t> firstLossMs;  ///< the first "cop lost the player"
    std::optional<std::uint32_t> allLostMs;    ///< the first time every cop near the player had lost him
    std::uint32_t seenMs = 0;                  ///< time during which at least one cop saw the player
    int chasedAgain = 0;                       ///< "cop is chasing again" lines
    std::optional<std::uint32_t> firstFadeMs;  ///< the first time the drawn stars faded
    /// The host cleared the wanted level; where the host never clears it, the last episode ended (or
    /// the run did) with every cop near him having lost him.
    bool escaped = false;
    std::optional<std::uint32_t> escapedMs;   ///< when the host cleared the wanted level
    std::optional<std::uint32_t> arrestedMs;  ///< when the host's police arrested the player
    std::map<std::uint16_t, int> orders;      ///< script commands run, by id
};

RunMetrics MeasureRun(const RunOutcome& outcome);

/// The ped named by "ped=%p" in a log line, by its scenario id when known.
std::string PedOf(const std::string& line, const RunOutcome& outcome);

}  // namespace sandbox
