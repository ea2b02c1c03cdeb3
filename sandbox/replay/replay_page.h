#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace sandbox {

class ReplayRecorder;

/// Writes the self-contained HTML page: the viewer with its style and scripts, and the replay data
/// that `writeData` streams (script-safe JSON) into its data element. The page is written as it
/// goes, never held whole.
/// With `extraFolder` ("play/"), the styles and scripts under it come after the viewer's own: a
/// page built on the viewer.
void WriteReplayPage(std::ostream& out, const std::string& title,
                     const std::function<void(std::ostream&)>& writeData, std::string_view extraFolder = {});
/// Writes a recorded run's page; throws std::runtime_error when the file cannot be written.
void WriteReplayPage(const std::filesystem::path& path, const ReplayRecorder& recorder);

}  // namespace sandbox
