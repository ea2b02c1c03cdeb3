#pragma once

#include <cstddef>
#include <string>

namespace sandbox {

/// The K-th of N disjoint shares of a sweep's runs. Runs are dealt out in turn, run i to share
/// i mod N, so every share gets a like part of each scenario and variant, and so of the work.
struct Shard {
    std::size_t k = 1;
    std::size_t n = 1;

    bool Holds(std::size_t run) const { return run % n == k - 1; }
    /// How many of `runs` runs fall to this share.
    std::size_t Size(std::size_t runs) const { return runs / n + (runs % n > k - 1 ? 1 : 0); }
    std::string Text() const { return std::to_string(k) + "/" + std::to_string(n); }
    bool operator==(const Shard&) const = default;
};

/// "K/N" with 1 <= K <= N. Throws SweepPlanError naming --shard when it is anything else.
Shard ParseShard(const std::string& text);

}  // namespace sandbox
