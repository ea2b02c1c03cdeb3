#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "play/player_action.h"
#include "play/run_comparison.h"
#include "replay/spill_text.h"
#include "run/scenario_run.h"
#include "scenario/scenario.h"

namespace sandbox {

class FrameRunner;
class ReplayRecorder;

/// A live page wants a world update at least 60 times a second: longer frames are cut to this.
inline constexpr std::uint32_t kMaxPlayFrameMs = 16;

/// What a play starts from.
struct PlaySetup {
    Scenario scenario;          ///< as loaded
    std::string sourceText;     ///< its file's text, the ground of the saved play
    RunOptions options;         ///< game folder, module, INI and overrides, as for a run
    std::uint32_t frameMs = 0;  ///< the play's frame time; 0: the scenario's, cut to kMaxPlayFrameMs
};

/// The frames a play runs in: the one asked for, else the scenario's with no frame over
/// kMaxPlayFrameMs (a range keeps its spread below that).
FrameTime PlayFrameTime(const FrameTime& scenario, std::uint32_t askedMs);

/// A run the user plays: the scenario's world with the real module, stepped a frame at a time by
/// the caller, with the user's actions turned into player events at the frame they come in, kept
/// so that the play can be saved as a scenario, and recorded as a replay that a page follows live.
/// One world is alive at a time, so one session is.
class PlaySession {
public:
    /// Prepares the game folder and loads the module. Throws as a run does.
    explicit PlaySession(PlaySetup setup);
    ~PlaySession();
    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    /// The action is carried out at the start of the next frame, after the scenario's own events.
    /// Gives why it will do nothing to be seen, when it will not (`WhyNothing`).
    std::optional<std::string> Act(const PlayerAction& action);
    /// Runs one frame; a play goes on past the scenario's duration as long as the user plays.
    void Frame();
    /// The run time of the last frame, and the one the next frame will reach.
    std::uint32_t RunMs() const;
    std::uint32_t NextRunMs();

    /// The replay data so far, and what it gained since the last update was taken: a page loads the
    /// one and then follows with the others.
    std::string DataText() const;
    std::string TakeUpdate();
    /// The title of the play's page.
    std::string Title() const;

    /// The play so far as a scenario file that `run` replays identically.
    std::string SavedText() const;
    /// The replay page of the play so far, as `run --replay` writes one (sampled every frame).
    std::string ReplayPage() const;
    /// Every key with its value, default, unit and meaning, and the problems (as `settings --json`).
    const nlohmann::ordered_json& Settings() const { return settings_; }
    /// Plays the same moves again from the start with these KEY=VALUE over the settings, up to where
    /// the play is, and goes on from there with them; says where that run parts from the one played.
    RunComparison ChangeSettings(const std::vector<std::pair<std::string, std::string>>& overrides);

    const std::vector<Event>& Moves() const { return moves_; }

    /// Starts the play over from the scenario's start with the settings in force, with no moves: on
    /// the same seed, or on the next one (another town where the scenario builds one per seed).
    void Restart(bool newSeed);
    std::uint32_t Seed() const { return base_.seed; }
    /// How the wanted level ended, when it has: the run ms, and whether by an arrest (else the police
    /// gave up: an escape).
    struct Ending {
        std::uint32_t atMs;
        bool arrested;
    };
    std::optional<Ending> Ended() const;

private:
    void Start();
    void Stop();

    Scenario base_;  ///< the scenario as loaded
    std::string sourceText_;
    Scenario scenario_;  ///< what runs: the scenario, or after a change of settings the play so far
    RunOptions options_;
    std::unique_ptr<ReplayRecorder> recorder_;
    std::unique_ptr<FrameRunner> runner_;
    ColumnMarks marks_;
    std::vector<PlayerAction> pending_;
    PlayerAction held_;  ///< the direction held, a stop when none
    std::vector<Event> moves_;
    std::optional<std::uint32_t> takeover_;  ///< run ms of the user's first move of the player
    nlohmann::ordered_json settings_;
};

}  // namespace sandbox
