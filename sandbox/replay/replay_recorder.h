#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "replay/foot_sample.h"
#include "replay/log_state.h"
#include "scenario/expectations.h"

namespace sandbox {

class World;
struct Scenario;
struct RunOptions;

/// Records a run for the replay viewer: the static world once, then every 150 ms of run time the
/// player, every cop and vehicle with the state the host can tell, the scene, and every log line.
/// It reads only what the host sees: its own world, the log, and the plugin's sight questions.
class ReplayRecorder {
public:
    static constexpr std::uint32_t kSampleMs = 150;

    ReplayRecorder(const Scenario& scenario, std::optional<std::string> iniText);

    /// Hooks the recorder into a run's options.
    void Attach(RunOptions& options);
    void OnStart(World& world);
    void OnFrame(World& world, std::uint32_t runMs, const std::vector<LoggedLine>& lines);

    const nlohmann::json& Data() const { return data_; }

private:
    void NoteSightQueries(World& world, std::uint32_t runMs);
    nlohmann::json Sample(World& world, std::uint32_t runMs) const;
    bool Seeing(const std::string& pedPointer, std::uint32_t runMs) const;

    nlohmann::json data_;
    LogState logState_;
    FootSearchLog footSearch_;
    std::optional<std::uint32_t> lastSampleMs_;
    struct LastQuery {
        std::uint32_t runMs;
        bool clear;
    };
    std::map<std::string, LastQuery> lastQuery_;  ///< by "%p" text of the asking cop
};

}  // namespace sandbox
