#include "sweep/sweep_definition.h"

#include <algorithm>
#include <cstdio>

namespace sandbox {

namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

Settings SettingsOf(const Variant& variant) {
    Settings settings;
    for (const IniOverride& ov : variant.overrides) settings.emplace_back(ov.key, ov.value);
    return settings;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

std::string ScenariosText(const SweepDefinition& d) {
    std::vector<std::string> names;
    for (const auto& s : d.scenarios) names.push_back(s.source);
    return Joined(names);
}

std::string VariantsText(const SweepDefinition& d) {
    std::vector<std::string> names;
    for (const Variant& v : d.variants) names.push_back(v.name);
    return Joined(names);
}

std::string SeedsText(const SweepDefinition& d) {
    if (d.seeds.empty()) return "none";
    return std::to_string(d.seeds.front()) + ".." + std::to_string(d.seeds.back());
}

std::string SecondsText(const SweepDefinition& d) {
    return d.seconds ? std::to_string(*d.seconds) + " s" : "the scenarios' own";
}

}  // namespace

std::string TextFingerprint(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

nlohmann::json DefinitionJson(const SweepDefinition& d) {
    nlohmann::json scenarios = nlohmann::json::array();
    for (const auto& s : d.scenarios)
        scenarios.push_back({{"source", s.source}, {"name", s.name}, {"fingerprint", s.fingerprint}});
    nlohmann::json variants = nlohmann::json::array();
    for (const Variant& v : d.variants) variants.push_back({{"name", v.name}, {"settings", SettingsOf(v)}});
    nlohmann::json axes = nlohmann::json::array();
    for (const VaryAxis& a : d.axes) axes.push_back({{"key", a.key}, {"values", a.values}});
    return {{"scenarios", scenarios},
            {"variants", variants},
            {"axes", axes},
            {"seeds", d.seeds},
            {"seconds", d.seconds ? nlohmann::json(*d.seconds) : nlohmann::json()}};
}

SweepDefinition DefinitionFromJson(const nlohmann::json& json) {
    SweepDefinition d;
    for (const auto& s : json.at("scenarios")) {
        d.scenarios.push_back({s.at("source").get<std::string>(), s.at("name").get<std::string>(),
                               s.at("fingerprint").get<std::string>()});
    }
    for (const auto& v : json.at("variants")) {
        Variant variant{v.at("name").get<std::string>(), {}, {}};
        for (const auto& [key, value] : v.at("settings").get<Settings>())
            variant.overrides.push_back({key, value, "set"});
        d.variants.push_back(std::move(variant));
    }
    for (const auto& a : json.at("axes"))
        d.axes.push_back({a.at("key").get<std::string>(), a.at("values").get<std::vector<std::string>>()});
    d.seeds = json.at("seeds").get<std::vector<std::uint32_t>>();
    if (!json.at("seconds").is_null()) d.seconds = json.at("seconds").get<std::uint32_t>();
    return d;
}

std::string HowSweepsDiffer(const SweepDefinition& ours, const SweepDefinition& theirs) {
    const nlohmann::json a = DefinitionJson(ours);
    const nlohmann::json b = DefinitionJson(theirs);
    const auto against = [](const std::string& x, const std::string& y) {
        return x == y ? std::string() : " (" + x + " against " + y + ")";
    };
    if (a["scenarios"] != b["scenarios"]) {
        const std::string names = against(ScenariosText(ours), ScenariosText(theirs));
        return "other scenarios" + (names.empty() ? " (a scenario's file was changed)" : names);
    }
    if (a["variants"] != b["variants"] || a["axes"] != b["axes"]) {
        const std::string names = against(VariantsText(ours), VariantsText(theirs));
        return "other variants" + (names.empty() ? " (the settings of a variant differ)" : names);
    }
    if (a["seeds"] != b["seeds"]) return "other seeds" + against(SeedsText(ours), SeedsText(theirs));
    if (a["seconds"] != b["seconds"])
        return "another --seconds" + against(SecondsText(ours), SecondsText(theirs));
    return "";
}

std::size_t RunCount(const SweepDefinition& d) {
    return d.scenarios.size() * d.variants.size() * d.seeds.size();
}

RunPlace PlaceOf(const SweepDefinition& d, std::size_t index) {
    const std::size_t seeds = d.seeds.size();
    return {index / (seeds * d.variants.size()), (index / seeds) % d.variants.size(), index % seeds};
}

SweepJob JobAt(const SweepDefinition& d, std::size_t index) {
    const RunPlace at = PlaceOf(d, index);
    SweepJob job;
    job.index = index;
    job.scenario = d.scenarios[at.scenario].source;
    job.seed = d.seeds[at.seed];
    job.seconds = d.seconds;
    job.overrides = SettingsOf(d.variants[at.variant]);
    return job;
}

SweepResults ResultsOf(const SweepDefinition& d, std::vector<SweepRunResult> finished) {
    SweepResults results;
    for (const auto& s : d.scenarios) {
        results.scenarios.push_back(s.name);
        results.scenarioSources.push_back(s.source);
    }
    for (const Variant& v : d.variants) {
        results.variants.push_back(v.name);
        results.variantSettings.push_back(SettingsOf(v));
    }
    results.axes = d.axes;
    results.planned = RunCount(d);
    std::sort(finished.begin(), finished.end(),
              [](const SweepRunResult& a, const SweepRunResult& b) { return a.index < b.index; });
    for (SweepRunResult& r : finished) {
        const RunPlace at = PlaceOf(d, r.index);
        results.rows.push_back({at.scenario, at.variant, d.seeds[at.seed], std::move(r)});
    }
    return results;
}

}  // namespace sandbox
