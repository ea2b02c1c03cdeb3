#pragma once

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "sweep/sweep_record.h"

namespace sandbox {

/// Shards that do not make one whole sweep; the message says which folders and why.
class SweepMergeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ShardFolder {
    std::filesystem::path dir;
    SweepRecord record;
};

/// The record of the whole sweep from its shards' records, in any order. Refuses shards of
/// different sweeps or splits, a share given twice or missing, and a shard that was stopped.
SweepRecord MergeShards(const std::vector<ShardFolder>& shards);

}  // namespace sandbox
