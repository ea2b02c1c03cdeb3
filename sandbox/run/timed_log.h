#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "files/whole_file.h"

namespace sandbox {

/// A log line for people: its run time in seconds and a space, then the line with "[ID]" after every
/// address the sandbox can name, e.g. "17.655 cop lost the player: ped=0x20000200[cop1] inCar=0".
std::string TimedLine(std::uint32_t runMs, const std::string& text,
                      const std::map<std::string, std::string>& names);

/// vigilor.timed.log beside the plugin's own log, written line by line as the run goes.
class TimedLog {
public:
    /// Throws std::runtime_error when the file cannot be created.
    explicit TimedLog(const std::filesystem::path& path) : file_(path) {}
    void Write(std::uint32_t runMs, const std::string& text, const std::map<std::string, std::string>& names);
    /// Throws std::runtime_error naming the file and the reason when any line was not written.
    void Close() { file_.Close(); }

private:
    StreamedFile file_;
};

}  // namespace sandbox
