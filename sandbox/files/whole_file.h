#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace sandbox {

/// The system's words for an error number ("No space left on device"), or "unknown error" for 0.
std::string SystemReason(int error);

/// Writes a file whole or not at all: into "PATH.partial" beside it, every write, the flush and the
/// close checked, then renamed over PATH. On failure the partial file is removed, an earlier PATH is
/// left as it was, and std::runtime_error says "cannot write PATH: REASON". A PATH that exists and is
/// not a regular file (a link, a device, a pipe) is written through instead, never replaced.
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
/// The same, with the contents streamed by `write`.
void WriteWholeFile(const std::filesystem::path& path, const std::function<void(std::ostream&)>& write);

/// A file written bit by bit as a run goes (the timed log). The first failed write is remembered,
/// so nothing past it passes for written, and Close() reports it.
class StreamedFile {
public:
    /// Creates or empties the file; throws "cannot write PATH: REASON" when it cannot.
    explicit StreamedFile(std::filesystem::path path);
    void Write(std::string_view text);
    /// Flushes and closes; throws "cannot write PATH: REASON" when any write, the flush or the close
    /// failed.
    void Close();

private:
    void Check();

    std::filesystem::path path_;
    std::ofstream out_;
    int error_ = 0;  ///< errno of the first failure, 0 while none
};

}  // namespace sandbox
