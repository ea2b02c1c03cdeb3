#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

namespace sandbox {

class ReplayRecorder;

/// Writes the self-contained HTML page: the viewer with its style and scripts, and the replay data
/// that `writeData` streams (script-safe JSON) into its data element. The page is written as it
/// goes, never held whole.
void WriteReplayPage(std::ostream& out, const std::string& title,
                     const std::function<void(std::ostream&)>& writeData);
/// Writes a recorded run's page; throws std::runtime_error when the file cannot be written.
void WriteReplayPage(const std::filesystem::path& path, const ReplayRecorder& recorder);

}  // namespace sandbox
