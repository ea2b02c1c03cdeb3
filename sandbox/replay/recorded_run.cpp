#include "replay/recorded_run.h"

#include "replay/replay_page.h"
#include "replay/replay_recorder.h"

namespace sandbox {

RunOutcome RunRecorded(const Scenario& scenario, RunOptions options, const std::filesystem::path& page) {
    if (page.empty()) return RunScenario(scenario, options);
    ReplayRecorder recorder(scenario, IniTextFor(scenario, options));
    recorder.Attach(options);
    RunOutcome outcome = RunScenario(scenario, options);
    WriteReplayPage(page, recorder);
    return outcome;
}

}  // namespace sandbox
