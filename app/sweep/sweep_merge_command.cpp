#include "sweep/sweep_merge_command.h"

#include <algorithm>
#include <iostream>

#include "cli/cli_options.h"
#include "files/owned_folder.h"
#include "sweep/sweep_merge.h"
#include "sweep/sweep_outputs.h"

namespace app {

namespace fs = std::filesystem;

CLI::App* AddSweepMergeCommand(CLI::App& sweep, SweepMergeOptions& o) {
    CLI::App* merge = sweep.add_subcommand(
        "merge", "join the --out folders of a sweep's shards (sweep --shard K/N) into one");
    merge->add_option("dirs", o.dirs, "the shards' --out folders, one per share")->required();
    merge->add_option("--out", o.out, "folder for the joined results.csv, report.html and replays")
        ->required();
    merge->add_flag("--quiet", o.quiet, "no table; errors only");
    merge->add_flag("--force", o.force,
                    "write into an --out folder that holds files the sandbox did not write");
    return merge;
}

namespace {

// Each shard's replay pages, into the joined folder: the shards' pages never share a name.
void CopyReplays(const std::vector<std::string>& dirs, const fs::path& out) {
    for (const std::string& dir : dirs) {
        const fs::path replays = fs::path(dir) / "replays";
        if (!fs::is_directory(replays)) continue;
        std::error_code ec;
        fs::copy(replays, out / "replays", fs::copy_options::recursive | fs::copy_options::overwrite_existing,
                 ec);
        if (ec) throw std::runtime_error("cannot copy " + replays.string() + ": " + ec.message());
    }
}

}  // namespace

int SweepMergeCommand(const SweepMergeOptions& o) {
    const fs::path out(o.out);
    std::vector<sandbox::ShardFolder> shards;
    for (const std::string& dir : o.dirs) {
        std::error_code ec;
        if (fs::exists(out, ec) && fs::equivalent(dir, out, ec))
            throw UsageError("--out " + o.out + " is one of the shards; give a folder of its own");
        try {
            shards.push_back({dir, sandbox::ReadSweepRecord(dir)});
        } catch (const sandbox::SweepRecordError& e) {
            throw UsageError(e.what());
        }
    }
    sandbox::SweepRecord whole;
    try {
        whole = sandbox::MergeShards(shards);
    } catch (const sandbox::SweepMergeError& e) {
        throw UsageError(std::string("sweep merge: ") + e.what());
    }
    sandbox::ClaimFolder(out, "--out", o.force);
    const sandbox::FolderLock lock(out);
    RemoveEarlierReport(out);
    CopyReplays(o.dirs, out);
    const WrittenSweep written = WriteSweepOutputs(out, whole);
    if (!o.quiet) {
        std::cout << sandbox::SweepStatsText(written.results, written.stats);
        std::cout << "\n"
                  << written.results.rows.size() << " runs from " << shards.size() << " shards\n"
                  << "results: " << (out / "results.csv").string()
                  << "\nreport: " << (out / "report.html").string() << "  (open it in a web browser)\n";
    }
    const bool failed = std::any_of(whole.finished.begin(), whole.finished.end(),
                                    [](const sandbox::SweepRunResult& r) { return !r.ok; });
    return failed ? kExitFailed : kExitOk;
}

}  // namespace app
