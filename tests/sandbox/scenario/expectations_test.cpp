#include "scenario/expectations.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "scenario/log_pattern.h"
#include "scenario/scenario_loader.h"

namespace sandbox {
namespace {

TEST(LogPattern, MatchesWholeLinesWithStars) {
    EXPECT_TRUE(MatchesPattern("cop lost the player", "cop lost the player"));
    EXPECT_FALSE(MatchesPattern("cop lost", "cop lost the player"));  // whole line, not a prefix
    EXPECT_FALSE(MatchesPattern("the player", "cop lost the player"));
    EXPECT_TRUE(MatchesPattern("cop lost the player: ped=*", "cop lost the player: ped=12"));
    EXPECT_TRUE(MatchesPattern("cop lost the player: ped=*", "cop lost the player: ped="));
    EXPECT_TRUE(MatchesPattern("*ped=12*", "cop lost the player: ped=12 at 5,5"));
    EXPECT_TRUE(MatchesPattern("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(MatchesPattern("a*b*c", "aXbYbZcd"));
    EXPECT_TRUE(MatchesPattern("*", ""));
    EXPECT_TRUE(MatchesPattern("**", "anything"));
    EXPECT_TRUE(MatchesPattern("", ""));
    EXPECT_FALSE(MatchesPattern("", "x"));
    EXPECT_FALSE(MatchesPattern("x", ""));
    // Only '*' is special.
    EXPECT_TRUE(MatchesPattern("a?b[1].c\\", "a?b[1].c\\"));
    EXPECT_FALSE(MatchesPattern("a?b", "axb"));
    // Backtracking past a partial match of what follows the star.
    EXPECT_TRUE(MatchesPattern("*aab", "aaaab"));
    EXPECT_TRUE(MatchesPattern("x*ab*ab", "xabababab"));
}

TEST(LogPattern, ManyStarsStayFast) {
    std::string line(20000, 'a');
    std::string pattern;
    for (int i = 0; i < 50; ++i) {
        pattern += "*a";
    }
    pattern += "*b";
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(MatchesPattern(pattern, line));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

Scenario WithExpect(const std::string& expect) {
    return ParseScenario(R"({"durationMs": 20000, "player": {},
                             "peds": [{"id": "cop1", "type": 6, "pos": [0, 0, 0]}],
                             "vehicles": [{"id": "pc1", "model": 596, "pos": [0, 0, 0]}],
                             "expect": [)" +
                             expect + "]}",
                         "test.json");
}

RunRecord Log(std::vector<LoggedLine> lines) {
    RunRecord run;
    run.log = std::move(lines);
    return run;
}

const RunRecord kLostAt12000 = Log({{100, "plugin started"}, {12000, "cop lost the player: ped=3"}});

// Passed flags, one per expectation, for compact assertions.
std::vector<bool> Passed(const Scenario& s, const RunRecord& run) {
    std::vector<bool> passed;
    for (const ExpectationResult& result : EvaluateExpectations(s, run)) {
        passed.push_back(result.passed);
        EXPECT_EQ(result.passed, result.message.empty()) << result.message;
    }
    return passed;
}

TEST(Expectations, LogWindowsAreInclusive) {
    Scenario s = WithExpect(R"(
        {"log": "cop lost the player: ped=*"},
        {"log": "cop lost the player: ped=*", "by": 12000},
        {"log": "cop lost the player: ped=*", "by": 11999},
        {"log": "cop lost the player: ped=*", "after": 12000},
        {"log": "cop lost the player: ped=*", "after": 12001},
        {"log": "cop lost the player: ped=*", "after": 12000, "by": 12000},
        {"log": "cop lost the player"})");
    EXPECT_EQ(Passed(s, kLostAt12000), (std::vector<bool>{true, true, false, true, false, true, false}));

    std::vector<ExpectationResult> results = EvaluateExpectations(s, kLostAt12000);
    EXPECT_EQ(results[2].message,
              "expect[2] log \"cop lost the player: ped=*\" by 11999: no matching line in the window "
              "(one match, at 12000 ms)");
    EXPECT_EQ(results[6].message, "expect[6] log \"cop lost the player\": no matching line");
}

TEST(Expectations, NoLogFailsOnlyForLinesInTheWindow) {
    Scenario s = WithExpect(R"(
        {"noLog": "cop lost*"},
        {"noLog": "cop lost*", "by": 11999},
        {"noLog": "cop lost*", "after": 12001},
        {"noLog": "cop lost*", "after": 12000},
        {"noLog": "*crash*"})");
    EXPECT_EQ(Passed(s, kLostAt12000), (std::vector<bool>{false, true, true, false, true}));
    EXPECT_EQ(EvaluateExpectations(s, kLostAt12000)[0].message,
              "expect[0] noLog \"cop lost*\": matched at 12000 ms: cop lost the player: ped=3");
}

TEST(Expectations, LogCountBoundsAndWindow) {
    RunRecord run = Log({{100, "tick"}, {200, "tick"}, {300, "tick"}, {300, "tock"}});
    Scenario s = WithExpect(R"(
        {"logCount": "tick", "min": 3, "max": 3},
        {"logCount": "tick", "min": 4},
        {"logCount": "tick", "max": 2},
        {"logCount": "tick", "min": 2, "after": 200},
        {"logCount": "tick", "max": 1, "by": 199},
        {"logCount": "missing", "max": 0})");
    EXPECT_EQ(Passed(s, run), (std::vector<bool>{true, false, false, true, true, true}));
    EXPECT_EQ(EvaluateExpectations(s, run)[1].message, "expect[1] logCount \"tick\" min 4: counted 3");
}

TEST(Expectations, LogOrderNeedsDistinctLinesInSequence) {
    RunRecord run = Log({{100, "spotted"}, {200, "lost"}, {300, "searching"}, {400, "spotted again"}});
    Scenario s = WithExpect(R"(
        {"logOrder": ["spotted", "lost", "spotted*"]},
        {"logOrder": ["lost", "spotted"]},
        {"logOrder": ["spotted*", "spotted*"]},
        {"logOrder": ["spotted again", "spotted again"]},
        {"logOrder": ["spotted", "lost"], "after": 150},
        {"logOrder": ["lost", "searching"], "after": 200, "by": 300})");
    EXPECT_EQ(Passed(s, run), (std::vector<bool>{true, false, true, false, false, true}));
    std::vector<ExpectationResult> results = EvaluateExpectations(s, run);
    EXPECT_EQ(results[1].message,
              "expect[1] logOrder [\"lost\", \"spotted\"]: no line matching \"spotted\" after the match of "
              "\"lost\" at 200 ms (it matches earlier, at 100 ms)");
    EXPECT_EQ(results[4].message,
              "expect[4] logOrder [\"spotted\", \"lost\"] after 150: no matching line in the window "
              "(one match, at 100 ms)");
}

TEST(Expectations, NumericProbes) {
    Scenario s = WithExpect(R"(
        {"at": 5000, "probe": "ped:cop1.suppressed", "eq": 1},
        {"at": 5000, "probe": "pedRange", "eq": 0.1},
        {"at": 5000, "probe": "pedRange", "near": 2, "tol": 0.5},
        {"at": 5000, "probe": "pedRange", "near": 2, "tol": 0.5},
        {"at": 5000, "probe": "starAlpha", "min": 0.3},
        {"at": 5000, "probe": "starAlpha", "max": 0.3},
        {"at": 5000, "probe": "copCarCounter", "min": 2, "max": 4},
        {"at": 5000, "probe": "copCarCounter", "min": 2, "max": 4})");
    RunRecord run;
    run.RecordProbe(0, 0.0);
    run.RecordProbe(1, static_cast<double>(0.1f));  // floats from the host must still equal 0.1
    run.RecordProbe(2, 2.5);
    run.RecordProbe(3, 2.51);
    run.RecordProbe(4, static_cast<double>(0.3f));
    run.RecordProbe(5, static_cast<double>(0.3f));
    run.RecordProbe(6, 4.0);
    run.RecordProbe(7, 5.0);
    EXPECT_EQ(Passed(s, run), (std::vector<bool>{false, true, true, false, true, true, true, false}));
    std::vector<ExpectationResult> results = EvaluateExpectations(s, run);
    EXPECT_EQ(results[0].message, "expect[0] probe ped:cop1.suppressed at 5000: got 0, want 1");
    EXPECT_EQ(results[3].message, "expect[3] probe pedRange at 5000: got 2.51, want 2 +- 0.5");
    EXPECT_EQ(results[7].message, "expect[7] probe copCarCounter at 5000: got 5, want from 2 to 4");
}

TEST(Expectations, TextProbesAndMissingSamples) {
    Scenario s = WithExpect(R"(
        {"at": 1000, "probe": "message", "eq": "Pursuit called off"},
        {"at": 1000, "probe": "message", "eq": ""},
        {"at": 30000, "probe": "pedRange", "eq": 1},
        {"at": 1000, "probe": "vehicle:pc1.x", "eq": 1},
        {"at": 1000, "probe": "pedRange", "eq": 1})");
    RunRecord run;
    run.RecordProbe(0, std::string("Pursuit called off"));
    run.RecordProbe(1, std::string("Pursuit called off"));
    run.RecordProbe(3, ProbeAbsent{});
    run.RecordProbe(4, std::string("1"));
    EXPECT_EQ(Passed(s, run), (std::vector<bool>{true, false, false, false, false}));
    std::vector<ExpectationResult> results = EvaluateExpectations(s, run);
    EXPECT_EQ(results[1].message, "expect[1] probe message at 1000: got \"Pursuit called off\", want \"\"");
    EXPECT_EQ(results[2].message,
              "expect[2] probe pedRange at 30000: never sampled (the run ended before 30000 ms)");
    EXPECT_EQ(results[3].message,
              "expect[3] probe vehicle:pc1.x at 1000: vehicle \"pc1\" did not exist at that frame");
}

TEST(Expectations, ProbeScheduleHandsOutEachRequestAtTheFirstFrameAtOrPastItsTime) {
    Scenario s = WithExpect(R"(
        {"at": 5000, "probe": "pedRange", "eq": 1},
        {"log": "x"},
        {"at": 0, "probe": "ped:cop1.x", "eq": 1},
        {"at": 5000, "probe": "starAlpha", "eq": 1})");
    std::vector<ProbeRequest> requests = ProbeRequests(s);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].expectIndex, 2u);
    EXPECT_EQ(requests[0].probe.kind, ProbeKind::ped);
    EXPECT_EQ(requests[1].expectIndex, 0u);
    EXPECT_EQ(requests[2].expectIndex, 3u);

    ProbeSchedule schedule(s);
    EXPECT_EQ(schedule.Due(33).size(), 1u);  // the first frame already lies past time 0
    EXPECT_TRUE(schedule.Due(4999).empty());
    std::vector<ProbeRequest> due = schedule.Due(5016);
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0].expectIndex, 0u);
    EXPECT_TRUE(schedule.Due(6000).empty());
    EXPECT_TRUE(schedule.Done());
}

}  // namespace
}  // namespace sandbox
