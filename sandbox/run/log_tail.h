#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sandbox {

/// Reads the lines a file gained since the last look; the plugin flushes every line it writes.
class LogTail {
public:
    explicit LogTail(std::filesystem::path path) : path_(std::move(path)) {}

    /// Complete new lines; an emptied file starts over from its beginning.
    std::vector<std::string> NewLines();
    /// The file ends in the middle of a line: the plugin ends every line it writes, so a write of
    /// its failed.
    bool EndsMidLine() const { return !partial_.empty(); }

private:
    std::filesystem::path path_;
    std::uintmax_t offset_ = 0;
    std::string partial_;
};

}  // namespace sandbox
