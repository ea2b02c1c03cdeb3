#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace sandbox::loader {

// ordered_json keeps the file order of object keys, which the settings must keep.
using Json = nlohmann::ordered_json;

/// Thrown while reading a scenario: where in the file (a JSON path such as "peds[3].pos") and
/// what is wrong there. ParseScenario adds the source name.
struct PathError {
    std::string path;
    std::string problem;
};

[[noreturn]] void Fail(const std::string& path, const std::string& problem);

/// "world" + "boxes" is "world.boxes"; the top level has the empty path.
std::string ChildPath(const std::string& path, std::string_view key);
/// "peds" + 3 is "peds[3]".
std::string ElementPath(const std::string& path, std::size_t index);
/// Text for a message: control bytes (NUL among them) escaped as \u00XX, and past 80 bytes cut to
/// its first 60 with the whole length said.
std::string Shown(std::string_view text);
/// The text in double quotes, as messages quote ids and names.
std::string Quoted(std::string_view text);
bool HasControlCharacter(std::string_view text);

}  // namespace sandbox::loader
