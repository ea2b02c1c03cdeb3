#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "run/scenario_run.h"

namespace sandbox {

/// A run under way: the world with the module loaded, driven one frame at a time. A scenario run
/// drives one to the scenario's end; a live play drives one as long as the user plays, with his
/// own events besides the scenario's.
class FrameRunner {
public:
    /// Seeds the host, builds the world and loads the module from a game folder already prepared.
    /// Throws std::runtime_error when the module cannot be loaded.
    FrameRunner(const Scenario& scenario, const RunOptions& options);
    ~FrameRunner();
    FrameRunner(const FrameRunner&) = delete;
    FrameRunner& operator=(const FrameRunner&) = delete;

    /// Runs one frame: the scenario's events that are due, then `extra` (the same frame, after
    /// them, as events later in the file), then the host's frame with the plugin in it. Returns
    /// false, running nothing, when that frame would pass the scenario's duration, unless
    /// `pastDuration`. Throws ScenarioError naming an event that cannot be applied.
    bool Step(std::span<const Event> extra = {}, bool pastDuration = false);
    /// The scenario's own player moves (`MovesThePlayer`) due at `fromMs` or later are not applied:
    /// a user has taken the player over.
    void EndScenarioPlayerMoves(std::uint32_t fromMs);
    /// The run time the next frame would reach, drawn now so that Step takes the same draw.
    std::uint32_t NextRunMs();
    /// Checks that the log is whole and gathers what the host counted. Throws std::runtime_error
    /// when the log may be cut.
    RunOutcome Finish();

    World& GetWorld();
    const RunOutcome& Outcome() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace sandbox
