#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scenario/json_path.h"

namespace sandbox::loader {

/// One JSON object of the file: which keys it may have, and its values read with their paths.
class Fields {
public:
    /// Fails unless the value is an object.
    Fields(const Json& value, std::string path);

    /// Fails at the first key not in `allowed`: a typo in a key name would otherwise be ignored.
    void Allow(const std::vector<std::string_view>& allowed) const;

    const std::string& Path() const { return path_; }
    std::string PathOf(std::string_view key) const { return ChildPath(path_, key); }
    bool Has(std::string_view key) const { return value_.contains(key); }

    /// The key's value, or null when the key is absent.
    const Json* Optional(std::string_view key) const;
    /// The key's value; fails when the key is absent.
    const Json& Required(std::string_view key) const;

    template <typename Read>
    auto Req(std::string_view key, Read read) const {
        return read(Required(key), PathOf(key));
    }

    template <typename T, typename Read>
    T Opt(std::string_view key, T fallback, Read read) const {
        const Json* found = Optional(key);
        return found == nullptr ? fallback : static_cast<T>(read(*found, PathOf(key)));
    }

    /// The key's value read, or nothing when the key is absent.
    template <typename Read>
    auto Maybe(std::string_view key, Read read) const {
        using Value = decltype(read(std::declval<const Json&>(), std::string()));
        const Json* found = Optional(key);
        return found == nullptr ? std::optional<Value>() : std::optional<Value>(read(*found, PathOf(key)));
    }

private:
    const Json& value_;
    std::string path_;
};

/// Calls each(element, path) for every element; fails unless the value is an array.
template <typename Each>
void ForEachElement(const Json& value, const std::string& path, Each each) {
    if (!value.is_array()) {
        Fail(path, "expected an array");
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        each(value[i], ElementPath(path, i));
    }
}

/// Reads the optional "min" and "max" of a range; a max below the min is an error at max.
template <typename T, typename Read>
void ReadMinMax(const Fields& f, std::optional<T>& min, std::optional<T>& max, Read read) {
    min = f.Maybe("min", read);
    max = f.Maybe("max", read);
    if (min && max && *min > *max) {
        Fail(f.PathOf("max"), "less than min");
    }
}

}  // namespace sandbox::loader
