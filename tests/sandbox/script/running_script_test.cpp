// The host's interpreter refuses code it cannot decode, instead of reading past it.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/running_script.h"
#include "script/script_commands.h"
#include "support/host_world.h"

namespace {

constexpr std::uint16_t kTwoArgs = 0x0FE0;
int runs = 0;
const sandbox::RegisterScriptCommand registerTwoArgs(kTwoArgs, 2, [](const sandbox::ScriptContext& c) {
    ++runs;
    c.SetResult(1, 9.0f);
    return true;
});

class InterpreterTest : public ::testing::Test {
protected:
    // Runs the bytes as one command; returns the condition.
    bool Run(std::vector<std::uint8_t> code, bool notFlag = false) {
        code_ = std::move(code);
        std::memset(static_cast<void*>(&script_), 0, sizeof script_);
        script_.Init();
        script_.m_bNotFlag = notFlag;
        script_.m_pBaseIP = script_.m_pCurrentIP = code_.data();
        script_.m_pEndIP = code_.data() + code_.size();
        script_.ProcessOneCommand();
        return script_.m_bCondResult;
    }

    std::unique_ptr<sandbox::World> world_ = testing_support::MakeWorld();
    CRunningScript script_{};
    std::vector<std::uint8_t> code_;
};

TEST_F(InterpreterTest, DecodesIntegersFloatsAndLocalVariables) {
    runs = 0;
    EXPECT_TRUE(Run({0xE0, 0x0F, 1, 5, 0, 0, 0, 3, 2, 0}));
    EXPECT_FALSE(Run({0xE0, 0x0F, 6, 0, 0, 0x80, 0x3F, 3, 2, 0}, true));
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(script_.m_aLocalVars[2].fParam, 9.0f);
    const auto& calls = world_->Journal().Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args[0].i, 5);
    EXPECT_EQ(calls[1].args[0].f, 1.0f);
    EXPECT_TRUE(world_->ScriptErrors().empty());
}

TEST_F(InterpreterTest, RejectsAndReportsMalformedCode) {
    runs = 0;
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},                                       // no command word
        {0xE0},                                   // half a command word
        {0x34, 0x12, 1, 0, 0, 0, 0},              // unknown command
        {0xE0, 0x0F, 1, 5, 0},                    // an integer cut short
        {0xE0, 0x0F, 1, 5, 0, 0, 0},              // an argument missing
        {0xE0, 0x0F, 2, 5, 0, 0, 0, 3, 0, 0},     // unknown argument type
        {0xE0, 0x0F, 1, 5, 0, 0, 0, 3, 32, 0},    // no such local variable
        {0xE0, 0x0F, 1, 5, 0, 0, 0, 3, 0, 0, 1},  // bytes after the last argument
    };
    for (const auto& code : bad) EXPECT_FALSE(Run(code));
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(world_->Journal().Calls().empty());
    ASSERT_EQ(world_->ScriptErrors().size(), bad.size());
    EXPECT_EQ(world_->ScriptErrors()[2], "unknown command 1234");
    EXPECT_EQ(world_->ScriptErrors()[3], "command 0FE0: argument 1 is malformed");
    EXPECT_EQ(world_->ScriptErrors()[7], "command 0FE0: 1 bytes after its last argument");
}

}  // namespace
