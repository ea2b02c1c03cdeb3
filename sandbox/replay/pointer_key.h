#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace sandbox {

/// A "%p" text with its hash worked out once: the recorder looks every cop up by his pointer text
/// in every sample, and hashing the text each time cost more than the lookups themselves.
struct PointerKey {
    PointerKey() = default;
    explicit PointerKey(std::string pointerText)
        : text(std::move(pointerText)), hash(std::hash<std::string_view>{}(text)) {}
    std::string text;
    std::size_t hash = 0;
};

/// Hashes a pointer text, or hands back a key's own hash: the same number for the same text.
struct PointerHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    std::size_t operator()(const PointerKey& key) const { return key.hash; }
};

struct PointerEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return a == b; }
    bool operator()(const PointerKey& a, std::string_view b) const { return a.text == b; }
    bool operator()(std::string_view a, const PointerKey& b) const { return a == b.text; }
};

/// Values by the "%p" text of a ped or vehicle, found by text or by key.
template <class Value>
using ByPointer = std::unordered_map<std::string, Value, PointerHash, PointerEqual>;

}  // namespace sandbox
