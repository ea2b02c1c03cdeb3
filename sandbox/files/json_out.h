#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace sandbox {

/// JSON as text for a file or the terminal. Text that is not UTF-8 (an INI key with a stray byte, a
/// file name in another encoding) cannot stand in JSON as it is: each bad byte becomes U+FFFD, the
/// replacement character, rather than the whole result being lost. `indent` as nlohmann's dump.
template <typename Json>
std::string JsonText(const Json& json, int indent = -1) {
    return json.dump(indent, ' ', false, Json::error_handler_t::replace);
}

}  // namespace sandbox
