// The host's millisecond clock is 32 bits and wraps. Each scenario is run twice: once with the clock
// far from the wrap and once shifted so that it wraps halfway through the run. Both runs must write
// the same log, line for line and frame for frame.
//
// One difference is allowed, where a stamp of 0 means "never" (the list is in docs/log.md): a
// throttle stamp that is still 0 (a record made after the wrap, or a global never set) looks recent
// while the clock is below the throttle's period, so for that long after the wrap a throttled line
// or check may come later than in the far run. A first difference inside that window is accepted
// (everything after it may follow from it); one anywhere else is a fault.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "scenario/scenario_loader.h"
#include "support/plugin_run.h"
#include "support/random_episode.h"

namespace {

constexpr std::uint32_t kFarFromWrapMs = 0x40000000;
// The longest period of a zero-stamp throttle (a new vehicle record's parked-car line).
constexpr std::uint32_t kZeroStampWindowMs = 3001;

#ifdef VIGILOR_SANITIZE_BUILD
constexpr unsigned kRandomScenarios = 10;
#else
constexpr unsigned kRandomScenarios = 60;
#endif

std::vector<sandbox::LoggedLine> LogWithClockAt(sandbox::Scenario scenario, std::uint32_t clockStartMs) {
    scenario.clockStartMs = clockStartMs;
    return testing_support::RunLoaded(scenario).outcome.record.log;
}

std::string Describe(const std::vector<sandbox::LoggedLine>& log, std::size_t i) {
    if (i >= log.size()) return "(end of log)";
    std::ostringstream text;
    text << log[i].runMs << " ms: " << log[i].text;
    return text.str();
}

// Empty when the shifted run kept to the far run's log; otherwise what differed.
std::string WrapDifference(const sandbox::Scenario& scenario) {
    const std::uint32_t wrapAtRunMs = scenario.durationMs / 2;
    const auto far = LogWithClockAt(scenario, kFarFromWrapMs);
    const auto wrapped = LogWithClockAt(scenario, 0U - wrapAtRunMs);
    const auto same = [](const sandbox::LoggedLine& a, const sandbox::LoggedLine& b) {
        return a.runMs == b.runMs && a.text == b.text;
    };
    const auto [f, w] = std::mismatch(far.begin(), far.end(), wrapped.begin(), wrapped.end(), same);
    if (f == far.end() && w == wrapped.end()) return {};
    const std::size_t i = static_cast<std::size_t>(f - far.begin());
    const std::uint32_t firstMs =
        std::min(f != far.end() ? f->runMs : UINT32_MAX, w != wrapped.end() ? w->runMs : UINT32_MAX);
    if (firstMs >= wrapAtRunMs && firstMs - wrapAtRunMs < kZeroStampWindowMs) return {};
    return "clock wraps at run time " + std::to_string(wrapAtRunMs) + " ms; first difference, line " +
           std::to_string(i + 1) + ":\n  far:     " + Describe(far, i) +
           "\n  wrapped: " + Describe(wrapped, i);
}

TEST(ClockWrapDifferentialTest, RandomEpisodesLogTheSameWhenTheClockWrapsMidRun) {
    int differing = 0;
    for (unsigned seed = 1; seed <= kRandomScenarios; ++seed) {
        const std::string difference = WrapDifference(testing_support::MakeRandomEpisode(seed).scenario);
        if (difference.empty()) continue;
        ++differing;
        ADD_FAILURE() << "episode seed " << seed << ": " << difference;
    }
    EXPECT_EQ(differing, 0) << "of " << kRandomScenarios << " random episodes";
}

TEST(ClockWrapDifferentialTest, BuiltInScenariosLogTheSameWhenTheClockWrapsMidRun) {
    int scenarios = 0;
    for (const auto& file : std::filesystem::directory_iterator(VIGILOR_SCENARIO_DIR)) {
        if (file.path().extension() != ".json") continue;
        ++scenarios;
        const std::string difference = WrapDifference(sandbox::LoadScenarioFile(file.path()));
        EXPECT_TRUE(difference.empty()) << file.path().filename().string() << ": " << difference;
    }
    EXPECT_GT(scenarios, 0);
}

}  // namespace
