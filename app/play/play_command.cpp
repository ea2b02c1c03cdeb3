#include "play/play_command.h"

#include <chrono>
#include <iostream>
#include <sstream>
#include <thread>

#include "cli/cli_options.h"
#include "play/play_loop.h"
#include "play/play_server.h"
#include "play/play_session.h"
#include "replay/replay_page.h"
#include "run/stop_request.h"

namespace app {

namespace fs = std::filesystem;

CLI::App* AddPlayCommand(CLI::App& app, PlayOptions& o) {
    CLI::App* play =
        app.add_subcommand("play", "play the player yourself against the plugin, on a live page");
    play->add_option("scenario", o.scenario, "scenario file or built-in name (default: demo)");
    play->add_option("--port", o.port, "port to listen on (default: any free one)")
        ->check(CLI::Range(0, 65535));
    play->add_option("--host", o.host, "address to listen on (default: 127.0.0.1, this machine only)");
    play->add_option("--dir", o.dir, "game folder of the play (default: runs/<scenario name>-play)");
    play->add_option("--ini", o.ini, "use this INI file as vigilor.ini")->check(CLI::ExistingFile);
    play->add_option("--set", o.sets, "override one INI key, KEY=VALUE (repeatable; the last wins)");
    play->add_option(
            "--frame-ms", o.frameMs,
            "the play's frame time in ms (default: the scenario's, at most 16, for 60 updates a second)")
        ->check(CLI::Range(1, 1000));
    play->add_flag("--start-now", o.startNow,
                   "run at once (for scripts), rather than wait for the player's first key or start");
    return play;
}

int PlayCommand(const PlayOptions& o) {
    sandbox::Scenario scenario = LoadNamedScenario(o.scenario);
    const BuiltinScenario* builtin = FindBuiltin(o.scenario);
    std::string text = builtin ? std::string(builtin->json) : ReadText(o.scenario);
    CommonOptions common;
    common.dir = o.dir.empty() ? (fs::path("runs") / (scenario.name + "-play")).string() : o.dir;
    common.ini = o.ini;
    common.sets = o.sets;
    // The play's folder is its own: a second play of the same scenario takes it over.
    common.force = true;
    const PreparedRun prepared = PrepareRun(scenario, common);
    WarnAboutSettings(scenario, prepared, false, false);

    sandbox::PlaySession session(
        {scenario, std::move(text), prepared.options, static_cast<std::uint32_t>(o.frameMs)});
    std::ostringstream page;
    sandbox::WriteReplayPage(
        page, session.Title(), [&](std::ostream& out) { out << session.DataText(); }, "play/");
    PlayLoop loop(session, o.startNow);
    PlayServer server(loop, page.str(), prepared.options.gameDir / "played.json", o.host, o.port);
    std::thread serving([&server] { server.Serve(); });
    std::cout << "play: open " << server.Url() << "\n(Ctrl-C to stop)" << std::endl;
    while (!sandbox::StopRequested() && !loop.Stopped())
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    server.Stop();
    loop.Stop();
    serving.join();
    // Ctrl-C also stops the frame under way, which the loop takes for an error: the stop comes first.
    if (!sandbox::StopRequested()) {
        std::cerr << "error: " << loop.Error() << "\n";
        return kExitRunError;
    }
    std::cerr << "stopped: the play's log is in " << prepared.options.gameDir.string() << "\n";
    return kExitStopped;
}

}  // namespace app
