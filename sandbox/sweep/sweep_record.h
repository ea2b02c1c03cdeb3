#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sweep/sweep_definition.h"
#include "sweep/sweep_shard.h"

namespace sandbox {

/// What a sweep's folder keeps beside results.csv so that the sweep can be resumed or its shards
/// merged: the definition, the share of the runs the folder is for, and every finished run's result.
struct SweepRecord {
    SweepDefinition definition;
    std::optional<Shard> shard;
    std::vector<SweepRunResult> finished;

    /// The runs the folder is for: the whole sweep, or its shard's share.
    std::size_t Planned() const;
    bool Stopped() const { return finished.size() < Planned(); }
};

/// The record's file name in a sweep's folder.
inline constexpr const char* kSweepRecordName = "sweep.json";

/// A record that cannot be read; the message names the file.
class SweepRecordError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The record as the file's text: one run's result a line, so that it stays readable.
std::string SweepRecordText(const SweepRecord& record);

/// The record in folder `dir`. Throws SweepRecordError when there is none or it cannot be read.
SweepRecord ReadSweepRecord(const std::filesystem::path& dir);

/// "stopped after 162 of 3000 runs".
std::string StoppedText(std::size_t finished, std::size_t planned);

}  // namespace sandbox
