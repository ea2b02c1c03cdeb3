#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace app {

struct SweepMergeOptions {
    std::vector<std::string> dirs;
    std::string out;
    bool quiet = false;
    bool force = false;
};

/// "sweep merge DIR... --out DIR", under the sweep command.
CLI::App* AddSweepMergeCommand(CLI::App& sweep, SweepMergeOptions& o);

/// Joins the shards of one sweep into one results.csv, report and record, and the shards' replay pages
/// into one folder.
int SweepMergeCommand(const SweepMergeOptions& o);

}  // namespace app
