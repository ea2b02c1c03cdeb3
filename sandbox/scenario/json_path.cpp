#include "scenario/json_path.h"

#include <algorithm>
#include <cstdio>

namespace sandbox::loader {

void Fail(const std::string& path, const std::string& problem) { throw PathError{path, problem}; }

std::string Shown(std::string_view text) {
    // A message stays one readable line whatever the file held: a key of a million letters or a NUL
    // byte must not swallow it or cut it short.
    constexpr std::size_t kLongest = 80;
    constexpr std::size_t kHead = 60;
    const bool cut = text.size() > kLongest;
    const auto plain = [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7f; };
    if (!cut && std::all_of(text.begin(), text.end(), plain)) return std::string(text);
    std::string shown;
    for (const char c : cut ? text.substr(0, kHead) : text) {
        if (plain(c)) {
            shown += c;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
        shown += escaped;
    }
    if (cut) shown += "... (" + std::to_string(text.size()) + " bytes)";
    return shown;
}

std::string ChildPath(const std::string& path, std::string_view key) {
    return path.empty() ? Shown(key) : path + "." + Shown(key);
}

std::string ElementPath(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string Quoted(std::string_view text) { return "\"" + Shown(text) + "\""; }

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

}  // namespace sandbox::loader
