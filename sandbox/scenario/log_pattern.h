#pragma once

#include <string_view>

namespace sandbox {

// True when the pattern matches the whole line. '*' stands for any run of characters (also none);
// every other character, including '?', '[' and '\', matches only itself.
bool MatchesPattern(std::string_view pattern, std::string_view line);

}  // namespace sandbox
