#include "sweep/sweep_plan.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "tuning/setting_keys.h"

namespace sandbox {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

bool IsNumber(const std::string& text, bool integer) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    if (integer) {
        const long long value = std::strtoll(text.c_str(), &end, 10);
        return *end == '\0' && errno == 0 && value >= INT32_MIN && value <= INT32_MAX;
    }
    const double value = std::strtod(text.c_str(), &end);
    return *end == '\0' && errno == 0 && std::isfinite(value);
}

VaryAxis ParseVary(const std::string& vary) {
    const std::size_t eq = vary.find('=');
    const std::string option = "--vary " + vary;
    if (eq == std::string::npos || eq == 0) throw SweepPlanError(option + ": expected KEY=V1,V2,...");
    VaryAxis axis{vary.substr(0, eq), Split(vary.substr(eq + 1), ',')};
    const SettingKey* key = FindSettingKey(axis.key);
    if (key == nullptr) {
        throw SweepPlanError(option + ": unknown key \"" + axis.key +
                             "\" (nearest known key: " + NearestSettingKey(axis.key) + ")");
    }
    axis.key = key->name;
    for (const std::string& value : axis.values) {
        if (!IsNumber(value, key->IsInteger())) {
            throw SweepPlanError(option + ": \"" + value + "\" is not " +
                                 (key->IsInteger() ? "a whole number" : "a finite number") + " for " +
                                 axis.key);
        }
    }
    return axis;
}

}  // namespace

std::vector<VaryAxis> PlanAxes(const std::vector<std::string>& varies) {
    std::vector<VaryAxis> axes;
    for (const std::string& vary : varies) axes.push_back(ParseVary(vary));
    return axes;
}

std::vector<Variant> PlanVariants(const std::vector<std::string>& varies,
                                  const std::vector<VariantFile>& files) {
    std::vector<Variant> variants{{"base", {}, {}}};
    const std::vector<VaryAxis> axes = PlanAxes(varies);
    if (!axes.empty()) {
        // Odometer over the axes, the last one turning fastest.
        std::vector<std::size_t> at(axes.size(), 0);
        while (true) {
            Variant v;
            for (std::size_t i = 0; i < axes.size(); ++i) {
                const std::string& value = axes[i].values[at[i]];
                v.name += (i > 0 ? "," : "") + axes[i].key + "=" + value;
                v.overrides.push_back({axes[i].key, value, "set"});
            }
            variants.push_back(std::move(v));
            std::size_t i = axes.size();
            while (i > 0 && ++at[i - 1] == axes[i - 1].values.size()) at[--i] = 0;
            if (i == 0) break;
        }
    }
    for (const VariantFile& file : files) {
        if (file.name.empty()) throw SweepPlanError("--variant: a variant needs a name (NAME=FILE.ini)");
        IniOverlay overlay = ReadIniOverlay(file.text, "overlay");
        variants.push_back({file.name, std::move(overlay.overrides), std::move(overlay.problems)});
    }
    for (std::size_t i = 0; i < variants.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (variants[i].name == variants[j].name)
                throw SweepPlanError("variant \"" + variants[i].name + "\" given twice");
        }
    }
    return variants;
}

std::vector<std::uint32_t> ParseSeedRange(const std::string& text) {
    const std::size_t dots = text.find("..");
    const std::string option = "--seed-range " + text;
    if (dots == std::string::npos) throw SweepPlanError(option + ": expected A..B");
    const std::string a = text.substr(0, dots);
    const std::string b = text.substr(dots + 2);
    const auto whole = [](const std::string& s) {
        return !s.empty() && s.size() <= 10 && s.find_first_not_of("0123456789") == std::string::npos &&
               std::stoull(s) <= UINT32_MAX;
    };
    if (!whole(a) || !whole(b))
        throw SweepPlanError(option + ": A and B must be whole numbers from 0 to 4294967295");
    const auto first = static_cast<std::uint32_t>(std::stoull(a));
    const auto last = static_cast<std::uint32_t>(std::stoull(b));
    if (last < first) throw SweepPlanError(option + ": the range is empty (B is below A)");
    if (last - first >= 1000000) throw SweepPlanError(option + ": more than a million seeds");
    std::vector<std::uint32_t> seeds;
    for (std::uint64_t s = first; s <= last; ++s) seeds.push_back(static_cast<std::uint32_t>(s));
    return seeds;
}

}  // namespace sandbox
