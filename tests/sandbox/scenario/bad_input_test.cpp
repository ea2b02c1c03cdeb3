// Scenario text that is hostile rather than mistaken: each is refused at once with a message that
// stays one readable line and names where in the file.

#include <gtest/gtest.h>

#include <string>

#include "scenario/scenario_loader.h"
#include "support/scenario_error.h"

namespace {

using testing_support::ScenarioErrorFor;

const std::string kHead = R"({"name": "x", "durationMs": 100, "player": {"pos": [0, 0, 0]})";

TEST(BadInputTest, TextAfterANulByteIsRefusedLikeAnyTrailingText) {
    EXPECT_EQ(ScenarioErrorFor(kHead + "}" + std::string(1, '\0') + "garbage"),
              "bad.json: invalid JSON: a NUL byte at line 1, column 63; a scenario is text");
}

TEST(BadInputTest, NestingAndArraysPastTheirLimitsStopAtTheirPath) {
    std::string path;
    for (int i = 0; i < 32; ++i) path += "[0]";
    EXPECT_EQ(ScenarioErrorFor(std::string(40, '[') + std::string(40, ']')),
              "bad.json: " + path + ": nested more than 32 levels deep");
    std::string events = kHead + R"(, "events": [)";
    for (int i = 0; i <= 200000; ++i) events += i == 0 ? "0" : ",0";
    EXPECT_EQ(ScenarioErrorFor(events + "]}"),
              "bad.json: events[200000]: more than 200000 elements in one array");
}

TEST(BadInputTest, KeysWithControlBytesOrOfAnyLengthAreShownReadably) {
    EXPECT_EQ(ScenarioErrorFor(kHead + R"(, "settings": {"Sight\u0000Range": 1}})"),
              "bad.json: settings.Sight\\u0000Range: not usable as an INI key (no = [ ] ; # or control "
              "characters, no outer spaces)");
    const std::string error = ScenarioErrorFor(kHead + R"(, ")" + std::string(5000, 'k') + R"(": 1})");
    EXPECT_EQ(error.substr(0, 10 + 60 + 16), "bad.json: " + std::string(60, 'k') + "... (5000 bytes)");
}

TEST(BadInputTest, ANameThatCannotBeAFolderNameIsRefusedAtName) {
    const std::string longName = std::string(101, 'n');
    EXPECT_EQ(ScenarioErrorFor(R"({"name": ")" + longName +
                               R"(", "durationMs": 100, "player": {"pos": [0, 0, 0]}})"),
              "bad.json: name: the name is 101 bytes long; a folder name here takes at most 100");
}

}  // namespace
