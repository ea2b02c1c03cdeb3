#include "play/play_loop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace app {

namespace {

// A page further behind than this many updates is sent the whole data again.
constexpr std::size_t kKeptUpdates = 512;
// After a stall (a slow frame, a busy machine) the play does not rush to catch up more than this.
constexpr double kMaxOwedMs = 250.0;

using Clock = std::chrono::steady_clock;

std::string Event(const char* name, const std::string& data) {
    return std::string("event: ") + name + "\ndata: " + data + "\n\n";
}

}  // namespace

PlayLoop::PlayLoop(sandbox::PlaySession& session, bool startNow)
    : session_(session), paused_(!startNow), waiting_(!startNow), thread_([this] { Loop(); }) {}

PlayLoop::~PlayLoop() {
    Stop();
    if (thread_.joinable()) thread_.join();
}

void PlayLoop::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    updated_.notify_all();
}

bool PlayLoop::Stopped() const {
    std::lock_guard lock(mutex_);
    return stop_;
}

std::string PlayLoop::Error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

nlohmann::json PlayLoop::State() const {
    nlohmann::json state = {{"paused", paused_},         {"waiting", waiting_},     {"speed", speed_},
                            {"runMs", session_.RunMs()}, {"seed", session_.Seed()}, {"ended", nullptr}};
    if (const auto ended = session_.Ended())
        state["ended"] = {{"atMs", ended->atMs}, {"how", ended->arrested ? "arrested" : "escaped"}};
    return state;
}

void PlayLoop::Fail(const std::string& why) {
    // The run cannot go on (an event it cannot apply, a folder or module it cannot start again
    // with): the play ends, and the command says why.
    error_ = why;
    stop_ = true;
    wake_.notify_all();
    updated_.notify_all();
}

void PlayLoop::FrameAndPublish() {
    try {
        session_.Frame();
    } catch (const std::exception& e) {
        Fail(e.what());
        return;
    }
    updates_.push_back(session_.TakeUpdate());
    ++next_;
    if (updates_.size() > kKeptUpdates) updates_.pop_front();
    updated_.notify_all();
}

void PlayLoop::Loop() {
    std::unique_lock lock(mutex_);
    double owedMs = 0.0;
    auto last = Clock::now();
    while (!stop_) {
        if (steps_ > 0) {
            --steps_;
            FrameAndPublish();
            continue;
        }
        if (paused_) {
            wake_.wait(lock, [this] { return stop_ || !paused_ || steps_ > 0; });
            last = Clock::now();
            owedMs = 0.0;
            continue;
        }
        const auto now = Clock::now();
        owedMs = std::min(kMaxOwedMs,
                          owedMs + std::chrono::duration<double, std::milli>(now - last).count() * speed_);
        last = now;
        const double frameMs = session_.NextRunMs() - session_.RunMs();
        // A key is not kept waiting for its frame's time: the frame runs at once, a frame ahead of the
        // clock at most, and the next one waits the longer.
        const bool keyWaits = actionWaiting_ && owedMs >= 0.0;
        if (owedMs >= frameMs || keyWaits) {
            actionWaiting_ = false;
            owedMs -= frameMs;
            FrameAndPublish();
            continue;
        }
        const auto wait = std::chrono::duration<double, std::milli>((frameMs - owedMs) / speed_);
        wake_.wait_for(lock, wait);
    }
}

nlohmann::json PlayLoop::Handle(const nlohmann::json& message) {
    if (!message.is_object() || !message.contains("do") || !message["do"].is_string())
        throw sandbox::PlayInputError("a message is a JSON object with \"do\"");
    const std::string what = message["do"].get<std::string>();
    std::lock_guard lock(mutex_);
    std::optional<std::string> note;
    if (what == "pause") {
        paused_ = true;
    } else if (what == "resume") {
        paused_ = false;
        waiting_ = false;
    } else if (what == "restart") {
        const auto fresh = message.find("newSeed");
        if (fresh != message.end() && !fresh->is_boolean())
            throw sandbox::PlayInputError("newSeed is true or false");
        const bool newSeed = fresh != message.end() && fresh->get<bool>();
        StartOver([&] { session_.Restart(newSeed); });
        paused_ = true;
        waiting_ = true;
    } else if (what == "step") {
        paused_ = true;
        ++steps_;
    } else if (what == "speed") {
        const auto value = message.find("value");
        if (value == message.end() || !value->is_number())
            throw sandbox::PlayInputError("speed needs a value");
        const double speed = value->get<double>();
        if (!(speed >= kMinSpeed && speed <= kMaxSpeed))
            throw sandbox::PlayInputError("speed lies in [0.25, 4]");
        speed_ = speed;
    } else {
        note = session_.Act(sandbox::ReadPlayerAction(message));
        actionWaiting_ = true;
        // The player's first key starts the run.
        if (waiting_) paused_ = waiting_ = false;
    }
    wake_.notify_all();
    nlohmann::json state = State();
    if (note) state["note"] = *note;
    return state;
}

nlohmann::json PlayLoop::Settings() {
    std::lock_guard lock(mutex_);
    return session_.Settings();
}

nlohmann::json PlayLoop::ChangeSettings(const nlohmann::json& message) {
    const auto sets = message.find("set");
    if (!message.is_object() || sets == message.end() || !sets->is_object())
        throw sandbox::PlayInputError("a change of settings is {\"set\": {KEY: VALUE, ...}}");
    std::vector<std::pair<std::string, std::string>> overrides;
    for (const auto& [key, value] : sets->items()) {
        const std::string text = value.is_string() ? value.get<std::string>() : value.dump();
        if (key.empty() || key.find_first_of("=\r\n[];") != std::string::npos ||
            text.find_first_of("\r\n") != std::string::npos || !(value.is_string() || value.is_number()))
            throw sandbox::PlayInputError("a setting is a key and a number");
        overrides.emplace_back(key, text);
    }
    std::lock_guard lock(mutex_);
    sandbox::RunComparison comparison;
    StartOver([&] { comparison = session_.ChangeSettings(overrides); });
    nlohmann::json out = {{"cops", comparison.cops}, {"settings", session_.Settings()}, {"state", State()}};
    out["partsAtMs"] = comparison.partsAtMs ? nlohmann::json(*comparison.partsAtMs) : nlohmann::json();
    return out;
}

std::string PlayLoop::SavedText() {
    std::lock_guard lock(mutex_);
    return session_.SavedText();
}

std::string PlayLoop::ReplayPage() {
    std::lock_guard lock(mutex_);
    return session_.ReplayPage();
}

std::string PlayLoop::NextEvent(Follower& page, int timeoutMs) {
    std::unique_lock lock(mutex_);
    const auto fresh = [&] {
        return !page.started || page.epoch != epoch_ || page.next + updates_.size() < next_;
    };
    updated_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [&] { return stop_ || fresh() || page.next < next_; });
    if (stop_) return {};
    const std::string state = "{\"state\":" + State().dump() + ",\"data\":";
    if (fresh()) {
        page = {true, epoch_, next_};
        return Event("full", state + session_.DataText() + "}");
    }
    std::string out;
    const std::uint64_t first = next_ - updates_.size();
    for (; page.next < next_; ++page.next) out += Event("update", state + updates_[page.next - first] + "}");
    return out;
}

}  // namespace app
