#include "run/timed_log.h"

#include <cstdio>

namespace sandbox {

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

std::string TimedLine(std::uint32_t runMs, const std::string& text,
                      const std::map<std::string, std::string>& names) {
    char stamp[24];
    std::snprintf(stamp, sizeof stamp, "%u.%03u ", runMs / 1000, runMs % 1000);
    std::string line = stamp;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t at = text.find("0x", i);
        if (at == std::string::npos) break;
        std::size_t end = at + 2;
        while (end < text.size() && IsHexDigit(text[end])) ++end;
        // The whole run of hex digits is the address, so a longer number never passes for a known one.
        line.append(text, i, end - i);
        if (auto it = names.find(text.substr(at, end - at)); it != names.end())
            line += "[" + it->second + "]";
        i = end;
    }
    line.append(text, i);
    return line;
}

void TimedLog::Write(std::uint32_t runMs, const std::string& text,
                     const std::map<std::string, std::string>& names) {
    file_.Write(TimedLine(runMs, text, names) + '\n');
}

}  // namespace sandbox
