#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry/vec3.h"
#include "replay/pointer_key.h"
#include "replay/sight_conditions.h"

namespace sandbox {

struct Ped;

/// How the plugin's sight test of one cop came out at its latest tick, and the condition that
/// decided it: the line of sight when the plugin asked the host, else the one it decided itself.
struct SightOutcome {
    enum class By : std::uint8_t { notAsked, range, closeRange, cone, lineOfSight };
    By by = By::notAsked;
    bool sees = false;
    bool operator==(const SightOutcome&) const = default;
};

/// The plugin's sight test of every cop as far as the host can tell it. At each awareness tick (a
/// frame in which the plugin asked a sight question or wrote its summary line) a cop who asked is
/// judged by the host's answer, and any other by the conditions the plugin decides itself
/// (sight_conditions.h); the outcome stands until the next tick. What those conditions need beyond
/// the world (whether a cop is alert, whether the player is disguised) comes from the log.
class SightAccount {
public:
    void UseSettings(std::optional<SightSettings> settings) { settings_ = settings; }
    /// Reads one log line written at run time `runMs`.
    void Read(const std::string& line, std::uint32_t runMs);
    /// Starts a sample: the player's place, and whether the plugin asked any sight question in its frame.
    void Begin(Vec3 player, std::uint32_t runMs, bool asked);

    struct Cop {
        std::optional<CopView> view;  ///< his view now; none without the module's settings
        SightOutcome outcome;         ///< at the latest tick
        /// Run time of the latest tick of the episode at which he saw the player: the plugin's own
        /// stamp of his knowledge, which its grace time runs from unless the radio stamped him later.
        std::optional<std::uint32_t> sawMs;
    };
    /// One cop of the sample, by his recorded index `k`; `lost` as the host can tell it, `answer` the
    /// host's answer to his question in this frame, if he asked one.
    Cop Of(int k, const Ped& ped, const PointerKey& pointer, bool lost, std::optional<bool> answer);

    /// Whether the plugin would ask the host about this cop now, as far as the host can tell.
    bool WouldAsk(int k, const Ped& ped, const PointerKey& pointer, bool lost) const;

private:
    /// A look about or an aim scan widens a cop's sight from the tick after it was given, until
    /// its deadline or the tick after it was taken from him.
    struct Alerted {
        std::uint32_t givenMs = 0;
        std::uint32_t untilMs = 0;
        std::optional<std::uint32_t> endedMs;
    };
    struct Known {
        SightOutcome outcome;
        std::optional<std::uint32_t> sawMs;
        bool listed = false;  ///< listed at an earlier tick of the episode: the plugin keeps a record of him
        bool lost = false;    ///< held lost at the latest tick
    };

    bool Alert(const PointerKey& pointer) const;
    std::optional<CopView> ViewNow(const Known* known, const Ped& ped, const PointerKey& pointer,
                                   bool lost) const;
    void EndEpisode();

    std::optional<SightSettings> settings_;
    ByPointer<Alerted> alerts_;
    std::vector<Known> known_;  ///< by recorded cop index
    bool disguised_ = false;
    bool summarySeen_ = false;
    bool tick_ = false;
    Vec3 player_;
    std::uint32_t runMs_ = 0;
};

}  // namespace sandbox
