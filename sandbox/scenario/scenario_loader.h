#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "scenario/probe_name.h"
#include "scenario/scenario.h"

namespace sandbox {

// A scenario file that cannot be used. The message reads "FILE: PATH: what is wrong", for example
// "my.json: peds[3].pos: expected an array of 3 numbers".
class ScenarioError : public std::runtime_error {
public:
    ScenarioError(const std::string& source, const std::string& jsonPath, const std::string& problem);

    const std::string& JsonPath() const { return jsonPath_; }

private:
    std::string jsonPath_;
};

/// Largest scenario file read: 256 MiB.
inline constexpr std::size_t kMaxScenarioBytes = std::size_t{256} << 20;

/// Reads and parses a scenario file; a file larger than `maxBytes`, or a device that never ends,
/// is an error rather than an unbounded read.
Scenario LoadScenarioFile(const std::filesystem::path& path, std::size_t maxBytes = kMaxScenarioBytes);

// sourceName names the text in messages; its stem is the scenario's name when the file gives none.
Scenario ParseScenario(std::string_view jsonText, std::string_view sourceName);

// The "do" name of an event kind, as written in scenario files.
std::string_view EventKindName(EventKind kind);

}  // namespace sandbox
