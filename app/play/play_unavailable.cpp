#include <iostream>

#include "cli/cli_options.h"
#include "play/play_command.h"

namespace app {

CLI::App* AddPlayCommand(CLI::App& app, PlayOptions& o) {
    CLI::App* play =
        app.add_subcommand("play", "not in this build: the live page needs a web server library");
    play->add_option("scenario", o.scenario, "scenario file or built-in name");
    play->allow_extras();
    return play;
}

int PlayCommand(const PlayOptions&) {
    std::cerr << "error: play is not in the Windows build (the web server library it uses is built for Linux "
                 "only); run it from the Linux build\n";
    return kExitUsage;
}

}  // namespace app
