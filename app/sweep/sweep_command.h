#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sweep/worker_link.h"

namespace app {

struct SweepOptions {
    std::vector<std::string> scenarios;
    std::optional<std::uint32_t> seeds;
    std::string seedRange;
    std::vector<std::string> varies;
    std::vector<std::string> variants;
    std::optional<unsigned> jobs;
    std::string out = "sweep";
    std::optional<std::uint32_t> seconds;
    bool quiet = false;
    bool strict = false;
    bool force = false;
    bool resume = false;
    std::string shard;
    std::size_t replays = 0;
    std::size_t stopAfter = 0;
};

CLI::App* AddSweepCommand(CLI::App& app, SweepOptions& o);

/// The hidden command a sweep starts its worker processes with.
CLI::App* AddSweepWorkerCommand(CLI::App& app, WorkerLinkOptions& o);

int SweepCommand(const SweepOptions& o);
/// Reads one job a line from its sweep and answers one result a line (WorkerLink says through what).
int SweepWorker(const WorkerLinkOptions& o);

}  // namespace app
