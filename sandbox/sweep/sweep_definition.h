#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "sweep/sweep_job.h"
#include "sweep/sweep_plan.h"
#include "sweep/sweep_results.h"

namespace sandbox {

/// What a sweep's runs are, and nothing of how or where they run: two folders hold the same sweep
/// (to resume, or to merge as shards) when their definitions are equal.
struct SweepDefinition {
    struct ScenarioRef {
        std::string source;       ///< as given: a built-in name or a file
        std::string name;         ///< the scenario's own name
        std::string fingerprint;  ///< of the scenario's text, so an edited file is another sweep
    };
    std::vector<ScenarioRef> scenarios;
    std::vector<Variant> variants;  ///< base first
    std::vector<VaryAxis> axes;     ///< the --vary options the grid of variants came from
    std::vector<std::uint32_t> seeds;
    std::optional<std::uint32_t> seconds;  ///< duration override
};

/// A short fingerprint of a scenario's text (hexadecimal, 64-bit FNV-1a).
std::string TextFingerprint(const std::string& text);

nlohmann::json DefinitionJson(const SweepDefinition& definition);
/// Throws nlohmann::json::exception when a field is missing or of another type.
SweepDefinition DefinitionFromJson(const nlohmann::json& json);

/// Empty when both are the same sweep; else what differs, e.g. "other seeds (1..40 against 1..20)",
/// with `ours` described first.
std::string HowSweepsDiffer(const SweepDefinition& ours, const SweepDefinition& theirs);

/// How many runs the sweep has: every scenario × variant × seed.
std::size_t RunCount(const SweepDefinition& definition);

/// Where run `index` stands: scenario, then variant, then seed, the seed turning fastest.
struct RunPlace {
    std::size_t scenario = 0;
    std::size_t variant = 0;
    std::size_t seed = 0;  ///< position in seeds
};
RunPlace PlaceOf(const SweepDefinition& definition, std::size_t index);

/// Run `index` as a job, without its game folder or replay page.
SweepJob JobAt(const SweepDefinition& definition, std::size_t index);

/// The results of the given finished runs (any order), rows in run order, names filled in.
SweepResults ResultsOf(const SweepDefinition& definition, std::vector<SweepRunResult> finished);

}  // namespace sandbox
