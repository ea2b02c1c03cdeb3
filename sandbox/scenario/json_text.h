#pragma once

// Scenario text into JSON values, with the checks the parser itself leaves out.

#include <cstddef>
#include <string>
#include <string_view>

#include "scenario/json_path.h"

namespace sandbox::loader {

/// No scenario lists more than this many elements in one array (events, nodes, ...): past it the text
/// is refused at once, before its values are built.
inline constexpr std::size_t kMaxElementsPerArray = 200000;

/// Parses the text. Fails (PathError) at a duplicate key, an object with more keys or an array with
/// more elements than any scenario needs, or values nested too deep; throws the library's exception
/// on a syntax error.
Json ParseJsonText(std::string_view text);

/// The library's message without its "[json.exception.parse_error.101] " prefix; line and column stay.
std::string LibraryMessage(const nlohmann::json::exception& error);

}  // namespace sandbox::loader
