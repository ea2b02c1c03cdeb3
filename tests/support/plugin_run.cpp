#include "support/plugin_run.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include "scenario/log_pattern.h"
#include "scenario/scenario_loader.h"

namespace testing_support {

namespace {

// The scratch folders this test process made, removed when it ends, so that test runs do not
// fill the temporary folder. VIGILOR_KEEP_TEST_DIRS keeps them for a look after a failure. A
// forked child (a death test) leaves its parent's folders alone.
class ScratchDirs {
public:
    ~ScratchDirs() {
        if (getpid() != owner_ || std::getenv("VIGILOR_KEEP_TEST_DIRS") != nullptr) return;
        std::error_code ignored;
        for (const auto& dir : dirs_) std::filesystem::remove_all(dir, ignored);
    }
    void Add(const std::filesystem::path& dir) {
        std::lock_guard lock(mutex_);
        dirs_.push_back(dir);
    }

private:
    const decltype(getpid()) owner_ = getpid();
    std::mutex mutex_;
    std::vector<std::filesystem::path> dirs_;
};

}  // namespace

std::filesystem::path FreshTempDir(const std::string& tag) {
    static std::atomic<int> counter{0};
    static ScratchDirs made;
    const auto dir = std::filesystem::temp_directory_path() / ("vigilor-test-" + std::to_string(getpid()) +
                                                               "-" + std::to_string(counter++) + "-" + tag);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    made.Add(dir);
    return dir;
}

PluginRun RunJson(const std::string& json, const std::function<void(sandbox::RunOptions&)>& configure) {
    return RunLoaded(sandbox::ParseScenario(json, "test.json"), configure);
}

PluginRun RunLoaded(const sandbox::Scenario& scenario,
                    const std::function<void(sandbox::RunOptions&)>& configure) {
    PluginRun run;
    run.scenario = scenario;
    run.gameDir = FreshTempDir(run.scenario.name);
    sandbox::RunOptions options;
    options.gameDir = run.gameDir;
    options.modulePath = VIGILOR_MODULE_PATH;
    if (configure) configure(options);
    run.outcome = sandbox::RunScenario(run.scenario, options);
    return run;
}

std::vector<std::string> PluginRun::Lines() const {
    std::vector<std::string> lines;
    for (const auto& line : outcome.record.log) lines.push_back(line.text);
    return lines;
}

std::string ReadLogFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    std::erase(text, '\r');
    return text;
}

std::string PluginRun::LogFile() const { return ReadLogFile(gameDir / "vigilor.log"); }

bool PluginRun::Logged(const std::string& pattern) const { return Count(pattern) > 0; }

int PluginRun::Count(const std::string& pattern) const {
    int n = 0;
    for (const auto& line : outcome.record.log) n += sandbox::MatchesPattern(pattern, line.text) ? 1 : 0;
    return n;
}

long PluginRun::FirstAt(const std::string& pattern) const {
    for (const auto& line : outcome.record.log) {
        if (sandbox::MatchesPattern(pattern, line.text)) return static_cast<long>(line.runMs);
    }
    return -1;
}

}  // namespace testing_support
