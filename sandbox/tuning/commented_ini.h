#pragma once

#include <string>

namespace sandbox {

/// A vigilor.ini for a modder to start from: every key of the one table at its default, in the
/// documentation's sections, each with its meaning, unit and the values the reader keeps, as
/// comments the plugin's reader passes over.
std::string CommentedIni();

}  // namespace sandbox
