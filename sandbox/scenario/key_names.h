#pragma once

#include <optional>
#include <string_view>

namespace sandbox::loader {

/// A key as scenario files name it, with its Windows virtual-key code (what the plugin polls).
struct KeyName {
    std::string_view name;
    int code;
};

/// F1-F12, A-Z, 0-9 and a few named keys (Shift, Space, ...), case ignored; nothing for others.
std::optional<KeyName> FindKey(std::string_view name);

}  // namespace sandbox::loader
