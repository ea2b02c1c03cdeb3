#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace app {

struct PlayOptions {
    std::string scenario = "demo";
    int port = 0;  ///< 0: any free port
    std::string host = "127.0.0.1";
    std::string dir;
    std::string ini;
    std::vector<std::string> sets;
    int frameMs = 0;  ///< 0: the scenario's frame time, cut to 16 ms
    bool startNow = false;
};

CLI::App* AddPlayCommand(CLI::App& app, PlayOptions& o);

/// Serves the live page until Ctrl-C (exit 130), or an error in the run (exit 3).
int PlayCommand(const PlayOptions& o);

}  // namespace app
