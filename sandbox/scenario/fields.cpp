#include "scenario/fields.h"

#include <algorithm>

namespace sandbox::loader {

Fields::Fields(const Json& value, std::string path) : value_(value), path_(std::move(path)) {
    if (!value_.is_object()) {
        Fail(path_, path_.empty() ? "expected a JSON object at the top level" : "expected an object");
    }
}

void Fields::Allow(const std::vector<std::string_view>& allowed) const {
    for (const auto& item : value_.items()) {
        if (std::find(allowed.begin(), allowed.end(), item.key()) == allowed.end()) {
            std::string known;
            for (std::string_view key : allowed) {
                known += (known.empty() ? "" : ", ") + std::string(key);
            }
            Fail(ChildPath(path_, item.key()), "unknown key (known here: " + known + ")");
        }
    }
}

const Json* Fields::Optional(std::string_view key) const {
    auto it = value_.find(key);
    return it == value_.end() ? nullptr : &*it;
}

const Json& Fields::Required(std::string_view key) const {
    const Json* found = Optional(key);
    if (found == nullptr) {
        Fail(PathOf(key), "missing (required)");
    }
    return *found;
}

}  // namespace sandbox::loader
