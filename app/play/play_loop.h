#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "play/play_session.h"

namespace app {

/// Runs a play session in real time on its own thread: frames at the pace of the run's clock times
/// the chosen speed, paused or a frame at a time on request. The server's threads talk to the
/// session only through it, one at a time.
class PlayLoop {
public:
    static constexpr double kMinSpeed = 0.25;
    static constexpr double kMaxSpeed = 4.0;

    /// Unless `startNow`, the run waits, paused, for the player's first key or "start".
    PlayLoop(sandbox::PlaySession& session, bool startNow);
    ~PlayLoop();
    PlayLoop(const PlayLoop&) = delete;
    PlayLoop& operator=(const PlayLoop&) = delete;

    /// Ends the thread and wakes every page waiting for an update.
    void Stop();

    /// A message from the page: a player action, or "pause", "resume", "step", "speed", "restart"
    /// (with "newSeed": true for the next seed).
    /// Returns the state after it; throws sandbox::PlayInputError on a bad one.
    nlohmann::json Handle(const nlohmann::json& message);
    /// The settings table, and a change of settings with the comparison it brings.
    nlohmann::json Settings();
    nlohmann::json ChangeSettings(const nlohmann::json& message);
    /// The play so far as a scenario file.
    std::string SavedText();
    /// The replay page of the play so far.
    std::string ReplayPage();

    /// How far a page that follows the play got.
    struct Follower {
        bool started = false;
        std::uint64_t epoch = 0;
        std::uint64_t next = 0;  ///< the number of the next update it needs
    };
    /// What the page is sent next, as server-sent events' text: the whole data when it has none yet,
    /// fell behind or the run started over, else the updates it lacks. Waits up to the timeout for
    /// something new; empty when nothing came or on stop.
    std::string NextEvent(Follower& page, int timeoutMs);
    bool Stopped() const;
    /// Why the play stopped on its own (an event it could not apply, a stop asked for), or empty.
    std::string Error() const;

private:
    void Loop();
    void FrameAndPublish();
    /// Ends the play with an error; the lock is held.
    void Fail(const std::string& why);
    nlohmann::json State() const;
    /// Runs `start`, which starts the session's run over, and sends every page the new run whole;
    /// a start that fails ends the play. The lock is held.
    template <class Start>
    void StartOver(Start start) {
        try {
            start();
        } catch (const std::exception& e) {
            Fail(e.what());
            throw;
        }
        ++epoch_;
        updates_.clear();
        updated_.notify_all();
    }

    sandbox::PlaySession& session_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;     ///< the loop: a step, a resume, a stop
    std::condition_variable updated_;  ///< the pages: a new update, a new start, a stop
    bool stop_ = false;
    std::string error_;
    bool paused_ = false;
    bool waiting_ = false;  ///< paused until the player's first key or "resume"
    int steps_ = 0;
    bool actionWaiting_ = false;  ///< a player action waits for the next frame
    double speed_ = 1.0;
    std::uint64_t epoch_ = 0;          ///< counts fresh starts of the recording (a change of settings)
    std::uint64_t next_ = 0;           ///< the number of the next update
    std::deque<std::string> updates_;  ///< the latest ones, numbered up to next_ - 1
    std::thread thread_;
};

}  // namespace app
