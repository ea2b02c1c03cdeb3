#include "run/ini_text.h"

#include <algorithm>
#include <cctype>

namespace sandbox {

namespace {

std::string Trimmed(std::string_view s) {
    const auto blank = [](char c) { return (c >= 0x09 && c <= 0x0D) || c == ' ' || c == 0x1A; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

bool IsSettingsHeader(std::string_view line) {
    std::string t = Trimmed(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const auto close = t.rfind(']');
    if (close == std::string::npos || close == 0) return false;
    std::string name = Trimmed(std::string_view(t).substr(1, close - 1));
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name == "settings";
}

}  // namespace

std::string ApplyIniOverrides(std::string text,
                              const std::vector<std::pair<std::string, std::string>>& overrides) {
    if (overrides.empty()) return text;
    std::string block;
    // Written last to first: the reader takes the first match, and the last --set of a key must win.
    for (auto it = overrides.rbegin(); it != overrides.rend(); ++it)
        block += it->first + "=" + it->second + "\n";
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (IsSettingsHeader(std::string_view(text).substr(start, end - start))) {
            std::size_t after = end;
            if (after < text.size() && text[after] == '\r') ++after;
            if (after < text.size() && text[after] == '\n') ++after;
            if (after == end) block.insert(0, "\n");  // header on the file's last line
            text.insert(after, block);
            return text;
        }
        start = end + 1;
    }
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\n";
    return text + "[Settings]\n" + block;
}

}  // namespace sandbox
