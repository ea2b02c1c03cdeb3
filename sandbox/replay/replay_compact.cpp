#include "replay/replay_compact.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace sandbox {

namespace {

constexpr double kScale = 100.0;
// Integral values up to here are exact as 64-bit integers; beyond it the float is kept.
constexpr double kLargestIntegral = 1e15;

nlohmann::json CompactNumber(double value) {
    if (!std::isfinite(value)) return value;
    const double rounded = std::round(value * kScale) / kScale;
    if (rounded == std::trunc(rounded) && std::fabs(rounded) < kLargestIntegral) {
        return static_cast<std::int64_t>(rounded);
    }
    return rounded;
}

bool IsTable(const nlohmann::json& array) {
    if (array.size() < 2) return false;
    for (const nlohmann::json& item : array) {
        if (!item.is_object()) return false;
    }
    return true;
}

nlohmann::json Compact(const nlohmann::json& value);

nlohmann::json Table(const nlohmann::json& array) {
    std::vector<std::string> cols;
    for (const nlohmann::json& item : array) {
        for (const auto& [key, field] : item.items()) {
            if (std::find(cols.begin(), cols.end(), key) == cols.end()) cols.push_back(key);
        }
    }
    nlohmann::json rows = nlohmann::json::array();
    for (const nlohmann::json& item : array) {
        nlohmann::json row = nlohmann::json::array();
        for (const std::string& key : cols) {
            auto it = item.find(key);
            row.push_back(it == item.end() ? nlohmann::json(nullptr) : Compact(*it));
        }
        rows.push_back(std::move(row));
    }
    return {{"$cols", cols}, {"$rows", std::move(rows)}};
}

nlohmann::json Compact(const nlohmann::json& value) {
    if (value.is_number_float()) return CompactNumber(value.get<double>());
    if (value.is_array()) {
        if (IsTable(value)) return Table(value);
        nlohmann::json out = nlohmann::json::array();
        for (const nlohmann::json& item : value) out.push_back(Compact(item));
        return out;
    }
    if (value.is_object()) {
        nlohmann::json out = nlohmann::json::object();
        for (const auto& [key, field] : value.items()) out[key] = Compact(field);
        return out;
    }
    return value;
}

}  // namespace

nlohmann::json CompactReplay(const nlohmann::json& data) { return Compact(data); }

}  // namespace sandbox
