// Script commands as host bytecode: the encoding of each argument shape, the buffer, the result
// variables, and one command run through the host's interpreter.

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "host/scripting.h"
#include "script/script_commands.h"
#include "support/host_world.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using plugin::scripting::CallCommandById;
using plugin::scripting::ScriptCode;

// Expected bytes, spelled out little-endian by hand.
void Word16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Word32(Bytes& b, std::uint32_t v) {
    Word16(b, v);
    Word16(b, v >> 16);
}
struct Expect {
    Bytes bytes;
    explicit Expect(std::uint16_t command) { Word16(bytes, command); }
    Expect& I(std::int32_t v) {
        bytes.push_back(1);
        Word32(bytes, static_cast<std::uint32_t>(v));
        return *this;
    }
    Expect& F(float v) {
        bytes.push_back(6);
        Word32(bytes, std::bit_cast<std::uint32_t>(v));
        return *this;
    }
    Expect& Var(std::uint16_t index) {
        bytes.push_back(3);
        Word16(bytes, index);
        return *this;
    }
};

Bytes CodeBytes(const ScriptCode& code) { return Bytes(code.GetData(), code.GetData() + code.GetSize()); }

TEST(ScriptCode, EncodesEveryArgumentShapeThePluginUses) {
    float x = 0, y = 0, z = 0;
    {
        ScriptCode code(0x0633);
        code << 0x1234;
        EXPECT_EQ(CodeBytes(code), Bytes({0x33, 0x06, 1, 0x34, 0x12, 0, 0}));
    }
    {
        ScriptCode code(0x01B9);
        code << 513 << 22;
        EXPECT_EQ(CodeBytes(code), Expect(0x01B9).I(513).I(22).bytes);
    }
    {
        ScriptCode code(0x05D3);
        code << 7 << 1.5f << -2.25f << 3.0f << 4;
        EXPECT_EQ(CodeBytes(code), Expect(0x05D3).I(7).F(1.5f).F(-2.25f).F(3.0f).I(4).bytes);
    }
    {
        ScriptCode code(0x05F5);
        code << 7 << 1.5f << 2.5f << 0.0f << 6 << -1;
        EXPECT_EQ(CodeBytes(code), Expect(0x05F5).I(7).F(1.5f).F(2.5f).F(0.0f).I(6).I(-1).bytes);
        // -1 as four 0xFF bytes, the float 1.5 as 0x3FC00000.
        EXPECT_EQ(CodeBytes(code)[code.GetSize() - 4], 0xFF);
        EXPECT_EQ(CodeBytes(code)[4], 0x00);
        EXPECT_EQ(CodeBytes(code)[11], 0x3F);
    }
    {
        ScriptCode code(0x05D1);
        code << 1 << 2 << 10.0f << 20.0f << 0.5f << 25.0f << 0 << 0 << 2;
        EXPECT_EQ(CodeBytes(code),
                  Expect(0x05D1).I(1).I(2).F(10.0f).F(20.0f).F(0.5f).F(25.0f).I(0).I(0).I(2).bytes);
    }
    {
        ScriptCode code(0x02C0);
        code << 1.0f << 2.0f << 3.0f << &x << &y << &z;
        EXPECT_EQ(CodeBytes(code), Expect(0x02C0).F(1.0f).F(2.0f).F(3.0f).Var(0).Var(1).Var(2).bytes);
    }
}

TEST(ScriptCode, GrowsInStepsOf32Bytes) {
    ScriptCode code(0x05D1);
    EXPECT_EQ(code.GetCapacity(), 32u);
    for (int i = 0; i < 6; ++i) code << i;  // 2 + 6 * 5 = 32 bytes: still fits
    EXPECT_EQ(code.GetSize(), 32u);
    EXPECT_EQ(code.GetCapacity(), 32u);
    code << 6;
    EXPECT_EQ(code.GetCapacity(), 64u);
    for (int i = 0; i < 7; ++i) code << 1.0f;  // 72 bytes
    EXPECT_EQ(code.GetSize(), 72u);
    EXPECT_EQ(code.GetCapacity(), 96u);
    EXPECT_TRUE(code.IsComplete());
}

TEST(ScriptCode, KeepsItsBytesWhenItOutgrowsItsInlineBuffer) {
    ScriptCode code(0x05D1);
    Expect expected(0x05D1);
    for (int i = 0; i < 40; ++i) {  // 2 + 40 * 5 = 202 bytes: past the inline part
        code << i;
        expected.I(i);
    }
    EXPECT_EQ(code.GetCapacity(), 224u);
    EXPECT_EQ(CodeBytes(code), expected.bytes);
    EXPECT_TRUE(code.IsComplete());
}

// Test-only commands, numbered clear of the host's own.
constexpr std::uint16_t kTrue = 0x0FF0;
constexpr std::uint16_t kOffset = 0x0FF1;
constexpr std::uint16_t kFill = 0x0FF2;
const sandbox::RegisterScriptCommand registerTrue(kTrue, 1,
                                                  [](const sandbox::ScriptContext&) { return true; });
// (x, y, z, out x, out y, out z): writes x + 1, y + 2, z + 3; true when x is positive.
const sandbox::RegisterScriptCommand registerOffset(kOffset, 6, [](const sandbox::ScriptContext& c) {
    for (std::size_t i = 0; i < 3; ++i) c.SetResult(3 + i, c.Float(i) + static_cast<float>(i + 1));
    return c.Float(0) > 0.0f;
});
// (count of result variables...): writes i + 0.5 into the i-th.
const sandbox::RegisterScriptCommand registerFill(kFill, 32, [](const sandbox::ScriptContext& c) {
    for (std::size_t i = 0; i < c.args.size(); ++i) c.SetResult(i, static_cast<float>(i) + 0.5f);
    return true;
});

class ScriptBridgeTest : public ::testing::Test {
protected:
    std::unique_ptr<sandbox::World> world_ = testing_support::MakeWorld();
};

TEST_F(ScriptBridgeTest, RunsOneCommandAndCopiesItsResults) {
    float x = 0, y = 0, z = 0;
    EXPECT_TRUE(CallCommandById(kOffset, 1.0f, 2.0f, 3.0f, &x, &y, &z));
    EXPECT_EQ(x, 2.0f);
    EXPECT_EQ(y, 4.0f);
    EXPECT_EQ(z, 6.0f);
    EXPECT_FALSE(CallCommandById(kOffset, -1.0f, 0.0f, 0.0f, &x, &y, &z));
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(world_->Journal().Count(kOffset), 2);
    EXPECT_TRUE(world_->ScriptErrors().empty());
}

TEST_F(ScriptBridgeTest, Bit15OfTheIdNegatesTheCondition) {
    EXPECT_TRUE(CallCommandById(kTrue, 5));
    EXPECT_FALSE(CallCommandById(0x8000u | kTrue, 5));
    ASSERT_EQ(world_->Journal().Calls().size(), 2u);
    EXPECT_EQ(world_->Journal().Calls()[1].command, kTrue);  // the same command, negated
    EXPECT_TRUE(world_->Journal().Calls()[1].negated);
    // The next command is not negated: the script object starts afresh every time.
    EXPECT_TRUE(CallCommandById(kTrue, 5));
}

TEST_F(ScriptBridgeTest, EachArgumentShapeHasItsOwnScriptObject) {
    using plugin::scripting::detail::ScriptFor;
    EXPECT_EQ(&ScriptFor<int>(), &ScriptFor<int>());
    EXPECT_NE(&ScriptFor<int>(), (&ScriptFor<int, int>()));
    CallCommandById(kTrue, 5);
    EXPECT_STREQ(ScriptFor<int>().m_szName, "vigilor");
}

TEST_F(ScriptBridgeTest, TheThirtySecondResultVariableIsReportedAndTheCodeBuiltAnyway) {
    float out[32] = {};
    ScriptCode code(kFill);
    for (int i = 0; i < 31; ++i) code << &out[i];
    EXPECT_TRUE(world_->MessageBoxes().empty());
    code << &out[31];
    ASSERT_EQ(world_->MessageBoxes().size(), 1u);
    const std::string& box = world_->MessageBoxes()[0];
    // Titled with this module's file name as the loader reports it.
    EXPECT_NE(box.find("vigilor_tests: "), std::string::npos) << box;
    EXPECT_TRUE(box.ends_with(": ScriptCode::operator<<(float *p): reached local var limit")) << box;
    EXPECT_EQ(code.GetSize(), 2u + 32u * 3u);

    // The host has 32 local variables, so this one still comes back.
    EXPECT_TRUE(
        plugin::scripting::detail::RunCommand(plugin::scripting::detail::ScriptFor<float*>(), code, kFill));
    EXPECT_EQ(out[0], 0.5f);
    EXPECT_EQ(out[31], 31.5f);
}

TEST_F(ScriptBridgeTest, IntegerResultsAreCopiedAsIntegers) {
    static const sandbox::RegisterScriptCommand registerInt(0x0FF3, 1, [](const sandbox::ScriptContext& c) {
        c.SetResult(0, std::bit_cast<float>(42));
        return true;
    });
    int out = 0;
    EXPECT_TRUE(CallCommandById(0x0FF3, &out));
    EXPECT_EQ(out, 42);
}

}  // namespace
