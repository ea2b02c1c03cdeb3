// The recorder's text: numbers as the page carries them, free text made safe, columns that move
// to disk and come back whole, and positions stored as moves.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include <nlohmann/json.hpp>

#include "replay/entity_track.h"
#include "replay/json_text.h"
#include "replay/spill_text.h"

namespace {

std::string Num(double v) {
    std::string out;
    sandbox::AppendNumber(out, v);
    return out;
}

TEST(ReplayTextTest, NumbersAreRoundedToHundredthsAndStayValidJson) {
    EXPECT_EQ(Num(1.0), "1");
    EXPECT_EQ(Num(1.5), "1.5");
    EXPECT_EQ(Num(-0.05), "-0.05");
    EXPECT_EQ(Num(-1.25), "-1.25");
    EXPECT_EQ(Num(-0.004), "0");
    EXPECT_EQ(Num(12.345678), "12.35");
    EXPECT_EQ(Num(0.999), "1");
    EXPECT_EQ(Num(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(Num(std::numeric_limits<double>::infinity()), "null");
    EXPECT_TRUE(nlohmann::json::parse(Num(1e300)).is_number());
    for (double v : {-3.07, -0.5, 0.01, 123456.78})
        EXPECT_NEAR(nlohmann::json::parse(Num(v)).get<double>(), v, 1e-9);
}

TEST(ReplayTextTest, FreeTextCannotLeaveItsStringOrTheScriptElement) {
    std::string out;
    sandbox::AppendString(out, "a\"b\\c\n</script>&\x01");
    EXPECT_EQ(out.find('<'), std::string::npos);
    EXPECT_EQ(out.find('&'), std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(out), "a\"b\\c\n</script>&\x01");
    EXPECT_EQ(sandbox::ScriptSafe(R"({"a":"<b>&"})"), R"({"a":"\u003cb\u003e\u0026"})");
}

TEST(ReplayTextTest, ALongColumnMovesToDiskAndComesBackInOrder) {
    sandbox::SpillText column;
    const int n = 300000;  // several blocks
    for (int i = 0; i < n; ++i) {
        sandbox::AppendInt(column.Item(), i);
        column.Settle();
    }
    std::ostringstream out;
    out << '[';
    column.CopyTo(out);
    out << ']';
    const auto back = nlohmann::json::parse(out.str());
    ASSERT_EQ(back.size(), static_cast<std::size_t>(n));
    for (int i = 0; i < n; i += 997) EXPECT_EQ(back[i], i);
    EXPECT_EQ(back.back(), n - 1);
    std::ostringstream again;  // copying does not consume it
    column.CopyTo(again);
    EXPECT_EQ("[" + again.str() + "]", out.str());
}

TEST(ReplayTextTest, TracksWriteMovesPresenceChangesAndChangedValuesOnly) {
    sandbox::EntityTrack track({"state"});
    const int a = track.Enter(7, R"({"id":"a"})");
    EXPECT_EQ(track.Enter(7, R"({"id":"ignored"})"), a);
    const int b = track.Enter(9, R"({"id":"b"})");
    track.Row(a, {1.5f, -2.0f, 0}, 350.0);
    track.Set(0, a, 0, "\"chasing\"");
    track.EndSample(0);
    track.Row(a, {1.5f, -1.0f, 0}, 10.0);  // turning through north is a turn of 20 degrees
    track.Row(b, {0, 0, 0}, 0.0);
    track.Set(1, a, 0, "\"chasing\"");
    track.Set(1, b, 0, "\"lost\"");
    track.EndSample(1);
    track.Row(a, {1.5f, -1.0f, 0}, 10.0);
    track.Row(b, {0, 0, 0}, 0.0);
    track.EndSample(2);
    std::ostringstream out;
    out << '{';
    track.Write(out, "cops");
    out << '}';
    const auto j = nlohmann::json::parse(out.str())["cops"];
    EXPECT_EQ(j["entities"], nlohmann::json::parse(R"([{"id":"a"},{"id":"b"}])"));
    EXPECT_EQ(j["rosters"], nlohmann::json::parse("[[0,[0]],[1,[0,1]]]"));
    EXPECT_EQ(j["motion"], nlohmann::json::parse("[150,-200,-10, 0,100,20, 0,0,0, 0,0,0, 0,0,0]"));
    EXPECT_EQ(j["changes"], nlohmann::json::parse(R"([[0,0,0,"chasing"],[1,1,0,"lost"]])"));
}

}  // namespace
