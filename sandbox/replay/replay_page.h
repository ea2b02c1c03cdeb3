#pragma once

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace sandbox {

/// A self-contained HTML page: the viewer with the replay data, compacted, in a JSON script element.
std::string ReplayPage(const nlohmann::json& data);
/// Writes the page; throws std::runtime_error when the file cannot be written.
void WriteReplayPage(const std::filesystem::path& path, const nlohmann::json& data);

}  // namespace sandbox
