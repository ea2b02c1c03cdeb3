#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sandbox {

/// Puts KEY=VALUE lines at the top of the file's first [Settings] section (adding one when there is
/// none), so they win over the file's own lines: the reader takes the first match. Of two overrides
/// of one key the later wins.
std::string ApplyIniOverrides(std::string text,
                              const std::vector<std::pair<std::string, std::string>>& overrides);

}  // namespace sandbox
