#include "sweep/sweep_shard.h"

#include "sweep/sweep_plan.h"

namespace sandbox {

namespace {

// A whole number written plainly, from 1 to a million; 0 when it is not one.
std::size_t Count(const std::string& text) {
    if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const std::size_t value = std::stoul(text);
    return value <= 1000000 ? value : 0;
}

}  // namespace

Shard ParseShard(const std::string& text) {
    const std::size_t slash = text.find('/');
    const std::size_t k = slash == std::string::npos ? 0 : Count(text.substr(0, slash));
    const std::size_t n = slash == std::string::npos ? 0 : Count(text.substr(slash + 1));
    if (k == 0 || n == 0 || k > n) {
        throw SweepPlanError("--shard " + text +
                             ": expected K/N, the K-th of N shares, with 1 <= K <= N (for example 2/4)");
    }
    return {k, n};
}

}  // namespace sandbox
