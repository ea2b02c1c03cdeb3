// Splitting a sweep into shards, keeping its record in its folder, and joining the shards again.

#include <gtest/gtest.h>

#include <fstream>

#include "support/plugin_run.h"
#include "sweep/sweep_merge.h"
#include "sweep/sweep_plan.h"
#include "sweep/sweep_record.h"

namespace {

using sandbox::Shard;
using sandbox::SweepRecord;

sandbox::SweepDefinition Definition(std::vector<std::uint32_t> seeds = {1, 2, 3, 4, 5}) {
    sandbox::SweepDefinition d;
    d.scenarios = {{"demo", "demo", "00ff"}, {"mine.json", "mine", "1234"}};
    d.variants = sandbox::PlanVariants({"PursuitGraceMs=1500,6000"}, {});
    d.axes = sandbox::PlanAxes({"PursuitGraceMs=1500,6000"});
    d.seeds = std::move(seeds);
    return d;
}

// The finished record of one shard: every run of its share, each with a value of its own.
SweepRecord ShardRecord(const sandbox::SweepDefinition& d, std::optional<Shard> shard) {
    SweepRecord r{d, shard, {}};
    for (std::size_t i = 0; i < sandbox::RunCount(d); ++i) {
        if (shard && !shard->Holds(i)) continue;
        sandbox::SweepRunResult result;
        result.index = i;
        result.ok = i % 7 != 3;
        result.error = result.ok ? "" : "worker crashed (signal 11), \"badly\"";
        result.metrics.firstLossMs = 1000 + static_cast<std::uint32_t>(i);
        result.metrics.orders[0x05F5] = static_cast<int>(i);
        r.finished.push_back(result);
    }
    return r;
}

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

TEST(SweepShardTest, ShardsDealOutEveryRunOnceInLikeShares) {
    for (std::size_t n : {1u, 2u, 3u, 4u, 7u, 40u}) {
        for (std::size_t runs : {0u, 1u, 5u, 30u, 31u}) {
            std::vector<int> seen(runs, 0);
            std::size_t smallest = runs;
            std::size_t largest = 0;
            for (std::size_t k = 1; k <= n; ++k) {
                const Shard shard{k, n};
                std::size_t held = 0;
                for (std::size_t i = 0; i < runs; ++i) held += shard.Holds(i) ? (++seen[i], 1) : 0;
                EXPECT_EQ(shard.Size(runs), held) << shard.Text() << " of " << runs;
                smallest = std::min(smallest, held);
                largest = std::max(largest, held);
            }
            for (std::size_t i = 0; i < runs; ++i) EXPECT_EQ(seen[i], 1) << "run " << i << ", N " << n;
            EXPECT_LE(largest - smallest, 1u);
        }
    }
}

TEST(SweepShardTest, OnlyKOfNWithKFromOneToN) {
    EXPECT_EQ(sandbox::ParseShard("2/4"), (Shard{2, 4}));
    EXPECT_EQ(sandbox::ParseShard("1/1"), (Shard{1, 1}));
    for (const char* bad :
         {"0/4", "5/4", "4", "/4", "2/", "-1/4", "2/4/8", " 2/4", "2/0", "a/b", "99999999/99999999"}) {
        EXPECT_EQ(ErrorOf([&] {
                      sandbox::ParseShard(bad);
                  }).rfind(std::string("--shard ") + bad + ": expected K/N", 0),
                  0u)
            << bad;
    }
}

TEST(SweepRecordTest, AFolderKeepsItsRecordExactly) {
    const auto dir = testing_support::FreshTempDir("record");
    const SweepRecord written = ShardRecord(Definition(), Shard{2, 3});
    std::ofstream(dir / sandbox::kSweepRecordName) << sandbox::SweepRecordText(written);
    const SweepRecord read = sandbox::ReadSweepRecord(dir);
    EXPECT_EQ(sandbox::SweepRecordText(read), sandbox::SweepRecordText(written));
    EXPECT_EQ(sandbox::HowSweepsDiffer(read.definition, written.definition), "");
    EXPECT_EQ(read.finished.size(), 10u);  // runs 1, 4, ..., 28 of 30
    EXPECT_FALSE(read.Stopped());

    std::ofstream(dir / sandbox::kSweepRecordName) << "{\"definition\": {}";
    EXPECT_NE(ErrorOf([&] { sandbox::ReadSweepRecord(dir); }).find("not a sweep record"), std::string::npos);
    EXPECT_NE(ErrorOf([&] { sandbox::ReadSweepRecord(dir / "none"); }).find("holds no sweep record"),
              std::string::npos);
}

TEST(SweepRecordTest, SweepsDifferInWhatTheirRunsAre) {
    const auto differs = [](const std::function<void(sandbox::SweepDefinition&)>& change) {
        sandbox::SweepDefinition other = Definition();
        change(other);
        return sandbox::HowSweepsDiffer(Definition(), other);
    };
    EXPECT_EQ(differs([](auto&) {}), "");
    EXPECT_EQ(differs([](auto& d) { d.scenarios.pop_back(); }),
              "other scenarios (demo, mine.json against demo)");
    EXPECT_EQ(differs([](auto& d) { d.scenarios[1].fingerprint = "5678"; }),
              "other scenarios (a scenario's file was changed)");
    EXPECT_EQ(differs([](auto& d) { d.variants[2].overrides[0].value = "6001"; }),
              "other variants (the settings of a variant differ)");
    EXPECT_EQ(differs([](auto& d) { d.variants.pop_back(); }).rfind("other variants (base, ", 0), 0u);
    EXPECT_EQ(differs([](auto& d) { d.seeds.push_back(6); }), "other seeds (1..5 against 1..6)");
    EXPECT_EQ(differs([](auto& d) { d.seconds = 30; }),
              "another --seconds (the scenarios' own against 30 s)");
}

TEST(SweepMergeTest, ShardsInAnyOrderMakeTheWholeSweep) {
    const auto d = Definition();
    std::vector<sandbox::ShardFolder> shards;
    for (std::size_t k : {3u, 1u, 4u, 2u})
        shards.push_back({"s" + std::to_string(k), ShardRecord(d, Shard{k, 4})});
    const SweepRecord whole = sandbox::MergeShards(shards);
    EXPECT_FALSE(whole.shard);
    EXPECT_EQ(sandbox::SweepRecordText(whole), sandbox::SweepRecordText(ShardRecord(d, std::nullopt)));
}

TEST(SweepMergeTest, RefusesWhatIsNotOneWholeSweepAndSaysWhich) {
    const auto d = Definition();
    const auto shard = [&](std::size_t k, std::size_t n) {
        return sandbox::ShardFolder{"s" + std::to_string(k), ShardRecord(d, Shard{k, n})};
    };
    sandbox::ShardFolder stopped = shard(2, 3);
    stopped.record.finished.pop_back();
    sandbox::ShardFolder otherSeeds{"t2", ShardRecord(Definition({1, 2, 3}), Shard{2, 3})};
    const std::vector<std::pair<std::vector<sandbox::ShardFolder>, std::string>> cases = {
        {{shard(1, 3), shard(3, 3)}, "missing shards: 2/3"},
        {{shard(2, 4)}, "missing shards: 1/4, 3/4, 4/4"},
        {{shard(1, 3), shard(2, 3), shard(2, 3), shard(3, 3)}, "shard 2/3 given twice: s2 and s2"},
        {{shard(1, 3), shard(2, 4)}, "s2 is shard 2/4 but s1 is shard 1/3: they split the sweep differently"},
        {{shard(1, 3), otherSeeds, shard(3, 3)},
         "t2 holds a different sweep from s1: other seeds (1..3 against 1..5)"},
        {{shard(1, 3), stopped, shard(3, 3)},
         "s2: shard 2/3 was stopped after 9 of 10 runs; finish it with sweep --resume before merging"},
        {{}, "no shard folders to merge"},
    };
    for (const auto& [shards, message] : cases) {
        EXPECT_EQ(ErrorOf([&] { sandbox::MergeShards(shards); }), message);
    }
}

}  // namespace
