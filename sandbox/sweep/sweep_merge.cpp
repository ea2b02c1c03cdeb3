#include "sweep/sweep_merge.h"

#include <algorithm>
#include <map>

namespace sandbox {

SweepRecord MergeShards(const std::vector<ShardFolder>& shards) {
    if (shards.empty()) throw SweepMergeError("no shard folders to merge");
    const ShardFolder& first = shards.front();
    const Shard split = first.record.shard.value_or(Shard{});
    std::map<std::size_t, const ShardFolder*> byShare;
    SweepRecord whole{first.record.definition, std::nullopt, {}};
    for (const ShardFolder& folder : shards) {
        const SweepRecord& r = folder.record;
        const std::string name = folder.dir.string();
        const std::string differs = HowSweepsDiffer(r.definition, first.record.definition);
        if (!differs.empty()) {
            throw SweepMergeError(name + " holds a different sweep from " + first.dir.string() + ": " +
                                  differs);
        }
        const Shard shard = r.shard.value_or(Shard{});
        if (shard.n != split.n) {
            throw SweepMergeError(name + " is shard " + shard.Text() + " but " + first.dir.string() +
                                  " is shard " + split.Text() + ": they split the sweep differently");
        }
        if (const auto [at, added] = byShare.emplace(shard.k, &folder); !added)
            throw SweepMergeError("shard " + shard.Text() + " given twice: " + at->second->dir.string() +
                                  " and " + name);
        if (r.Stopped()) {
            throw SweepMergeError(name + ": shard " + shard.Text() + " was " +
                                  StoppedText(r.finished.size(), r.Planned()) +
                                  "; finish it with sweep --resume before merging");
        }
        for (const SweepRunResult& result : r.finished) {
            if (!shard.Holds(result.index)) {
                throw SweepMergeError(name + ": run " + std::to_string(result.index) +
                                      " does not belong to shard " + shard.Text());
            }
            whole.finished.push_back(result);
        }
    }
    std::string missing;
    for (std::size_t k = 1; k <= split.n; ++k) {
        if (byShare.count(k) == 0) missing += (missing.empty() ? "" : ", ") + Shard{k, split.n}.Text();
    }
    if (!missing.empty()) throw SweepMergeError("missing shards: " + missing);
    std::sort(whole.finished.begin(), whole.finished.end(),
              [](const SweepRunResult& a, const SweepRunResult& b) { return a.index < b.index; });
    return whole;
}

}  // namespace sandbox
