#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace sandbox {

/// A play as a scenario file: the scenario it started from (its own file's text), with the user's
/// moves as player events at their times after its own, the settings as played (the INI text, or
/// none), the seed and frame time as played, and its duration cut at the last frame played. The
/// scenario's own expectations are left out: they were written for its scripted player, not for
/// this play. From `takeoverMs` on the user played the player: the scenario's own player moves due
/// then or later are left out.
std::string SavedPlayText(const std::string& sourceText, const Scenario& scenario,
                          const std::optional<std::string>& iniText, const std::vector<Event>& moves,
                          std::uint32_t playedMs, std::optional<std::uint32_t> takeoverMs = std::nullopt);

}  // namespace sandbox
