#pragma once

#include <string>
#include <utility>
#include <vector>

#include <memory>

#include <nlohmann/json.hpp>

#include "support/plugin_run.h"

namespace replay_test {

/// Reads the recorder's columns back as the viewer does, for one sample at a time.
struct ReplayData {
    explicit ReplayData(const std::string& text) : json(nlohmann::json::parse(text)) {}

    int Samples() const { return static_cast<int>(json["t"].size()); }
    int Time(int sample) const { return json["t"][sample]; }
    /// The recorded index of a cop or vehicle by scenario id, or -1.
    int Index(const char* track, const std::string& id) const;
    /// A field of one entity (or of the sample, track "sample", entity 0) at a sample; null before
    /// its first value.
    nlohmann::json Value(const char* track, int entity, const std::string& field, int sample) const;
    /// The entities present in a sample.
    std::vector<int> Present(const char* track, int sample) const;
    /// Every change of one field, by entity: (sample, value) in sample order; for reading a long run
    /// sample by sample without searching all its changes each time.
    std::vector<std::vector<std::pair<int, nlohmann::json>>> Series(const char* track,
                                                                    const std::string& field) const;
    /// Where an entity is at a sample, rebuilt from its moves: x, y in metres.
    std::pair<double, double> Position(const char* track, int entity, int sample) const;

    nlohmann::json json;
};

/// A scenario from JSON text run with the plugin and recorded, with the replay data read back.
struct Recorded {
    explicit Recorded(const std::string& json);
    testing_support::PluginRun run;
    std::unique_ptr<ReplayData> data;
};

}  // namespace replay_test
