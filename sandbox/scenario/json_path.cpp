#include "scenario/json_path.h"

#include <algorithm>

namespace sandbox::loader {

void Fail(const std::string& path, const std::string& problem) { throw PathError{path, problem}; }

std::string ChildPath(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

std::string ElementPath(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

}  // namespace sandbox::loader
