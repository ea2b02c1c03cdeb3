#include "play/play_session.h"

#include <algorithm>
#include <sstream>

#include "play/saved_play.h"
#include "replay/replay_page.h"
#include "replay/replay_recorder.h"
#include "run/frame_runner.h"
#include "run/run_json.h"
#include "run/settings_readback.h"
#include "scenario/scenario_loader.h"
#include "world/world.h"

namespace sandbox {

FrameTime PlayFrameTime(const FrameTime& scenario, std::uint32_t askedMs) {
    if (askedMs > 0) return {askedMs, askedMs};
    return {std::min(scenario.minMs, kMaxPlayFrameMs), std::min(scenario.maxMs, kMaxPlayFrameMs)};
}

PlaySession::PlaySession(PlaySetup setup)
    : base_(std::move(setup.scenario)),
      sourceText_(std::move(setup.sourceText)),
      scenario_(base_),
      options_(std::move(setup.options)) {
    // The user is the player: a behaviour of his own is off while he plays.
    base_.player.evade.reset();
    // The play's frames are its own; the saved play keeps them, so that it replays the same.
    base_.frame = PlayFrameTime(base_.frame, setup.frameMs);
    scenario_ = base_;
    Start();
}

PlaySession::~PlaySession() { Stop(); }

void PlaySession::Start() {
    // The settings are read back from the module before the world exists: one host at a time.
    settings_ = SettingsJson(CheckRunSettings(scenario_, options_));
    const std::optional<std::string> ini = IniTextFor(scenario_, options_);
    PrepareGameDir(options_, ini);
    recorder_ = std::make_unique<ReplayRecorder>(scenario_, ini);
    recorder_->SampleEvery(0);
    recorder_->Attach(options_);
    marks_ = {};
    runner_ = std::make_unique<FrameRunner>(scenario_, options_);
}

void PlaySession::Stop() {
    runner_.reset();
    recorder_.reset();
}

std::optional<std::string> PlaySession::Act(const PlayerAction& action) {
    pending_.push_back(action);
    std::optional<std::string> note = WhyNothing(action, runner_->GetWorld());
    if (takeover_ || action.kind == PlayerAction::Kind::key) return note;
    // The user takes the player over from the next frame: the scenario's own moves of him end.
    takeover_ = runner_->NextRunMs();
    runner_->EndScenarioPlayerMoves(*takeover_);
    const bool scripted = std::any_of(base_.events.begin(), base_.events.end(), [&](const Event& e) {
        return MovesThePlayer(e.kind) && e.atMs >= *takeover_;
    });
    if (!scripted) return note;
    const std::string ended = "you have the player now: the scenario's own moves of him end here";
    return note ? *note + "; " + ended : ended;
}

void PlaySession::Frame() {
    const std::uint32_t runMs = runner_->NextRunMs();
    World& world = runner_->GetWorld();
    std::vector<Event> events;
    for (const PlayerAction& action : pending_) {
        if (action.kind == PlayerAction::Kind::move) held_ = action;
        for (Event& e : EventsFor(action, world, runMs)) events.push_back(std::move(e));
    }
    pending_.clear();
    if (events.empty()) {
        if (std::optional<Event> on = RenewedMove(held_, world, runMs)) events.push_back(*on);
    }
    for (std::size_t i = 0; i < events.size(); ++i)
        events[i].sourceIndex = base_.events.size() + moves_.size() + i;
    runner_->Step(events, true);
    moves_.insert(moves_.end(), events.begin(), events.end());
}

std::uint32_t PlaySession::RunMs() const { return runner_->Outcome().lastRunMs; }

std::uint32_t PlaySession::NextRunMs() { return runner_->NextRunMs(); }

std::string PlaySession::DataText() const { return recorder_->DataText(); }

std::string PlaySession::TakeUpdate() {
    std::ostringstream out;
    recorder_->WriteSince(out, marks_);
    return out.str();
}

std::string PlaySession::Title() const { return "play of " + base_.name; }

std::string PlaySession::SavedText() const {
    return SavedPlayText(sourceText_, base_, IniTextFor(base_, options_), moves_, RunMs(), takeover_);
}

std::string PlaySession::ReplayPage() const {
    std::ostringstream out;
    WriteReplayPage(out, Title(), [this](std::ostream& data) { recorder_->WriteData(data); });
    return out.str();
}

void PlaySession::Restart(bool newSeed) {
    Stop();
    if (newSeed) ++base_.seed;
    moves_.clear();
    takeover_.reset();
    pending_.clear();
    held_ = {};
    scenario_ = base_;
    Start();
}

std::optional<PlaySession::Ending> PlaySession::Ended() const {
    const RunOutcome& outcome = runner_->Outcome();
    if (outcome.arrestedMs) return Ending{*outcome.arrestedMs, true};
    if (outcome.escapedMs) return Ending{*outcome.escapedMs, false};
    return std::nullopt;
}

RunComparison PlaySession::ChangeSettings(const std::vector<std::pair<std::string, std::string>>& overrides) {
    const std::uint32_t reached = RunMs();
    const RunOutcome played = runner_->Outcome();
    // The play so far on the settings' own ground, with the new keys laid over it as --set does.
    const std::string replayed =
        SavedPlayText(sourceText_, base_, BaseIniTextFor(base_, options_), moves_, reached, takeover_);
    Stop();
    scenario_ = ParseScenario(replayed, base_.name + "-played.json");
    options_.overrides = overrides;
    options_.overrideSources.assign(overrides.size(), "set");
    Start();
    while (runner_->Step()) {
    }
    std::string change;
    for (const auto& [key, value] : overrides) change += (change.empty() ? "" : ", ") + key + "=" + value;
    return CompareRuns(played, runner_->Outcome(), change.empty() ? "the scenario's settings" : change,
                       reached);
}

}  // namespace sandbox
