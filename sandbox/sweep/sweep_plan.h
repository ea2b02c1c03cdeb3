#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tuning/settings_check.h"

namespace sandbox {

/// A sweep option that cannot be used; the message names the option and what is wrong.
class SweepPlanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// One set of settings a sweep compares: keys laid over each scenario's own settings.
struct Variant {
    std::string name;  ///< "base", "K1=V1,K2=V2" or the name given to an INI file
    std::vector<IniOverride> overrides;
    std::vector<SettingProblem> layoutProblems;  ///< of its INI file
};

/// An INI file given as a variant: its name and text.
struct VariantFile {
    std::string name;
    std::string text;
};

/// One --vary option: a key, in the settings table's spelling, and its values as given.
struct VaryAxis {
    std::string key;
    std::vector<std::string> values;
};

/// The --vary options in order. Throws SweepPlanError as PlanVariants does.
std::vector<VaryAxis> PlanAxes(const std::vector<std::string>& varies);

/// base first, then the grid of every --vary value combination (the first key varies slowest), then
/// one variant per file. Throws SweepPlanError for an unknown key, a value that is not a number, an
/// empty value list or a repeated variant name.
std::vector<Variant> PlanVariants(const std::vector<std::string>& varies,
                                  const std::vector<VariantFile>& files);

/// "A..B" as the seeds A to B inclusive. Throws SweepPlanError when malformed or empty.
std::vector<std::uint32_t> ParseSeedRange(const std::string& text);

}  // namespace sandbox
