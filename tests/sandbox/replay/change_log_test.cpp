// The change log's shortcuts (a value given as a number, a code or a raw string, whose text is
// built only when that changes) must write exactly what plain text would have written.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "replay/entity_track.h"
#include "replay/json_text.h"

namespace {

std::string Members(const sandbox::ChangeLog& log) {
    std::ostringstream out;
    log.WriteMembers(out);
    return out.str();
}

// The JSON text of an optional value: null without one.
template <class T, class Append>
std::string TextOrNull(const std::optional<T>& value, Append&& append) {
    std::string text = "null";
    if (value) {
        text.clear();
        append(text, *value);
    }
    return text;
}

TEST(ChangeLogTest, ShortcutsWriteWhatPlainTextWould) {
    enum Field { kNumber, kCoded, kString, kAim, kPoint };
    const std::vector<std::string> fields = {"number", "coded", "string", "aim", "point"};
    sandbox::ChangeLog fast(fields);
    sandbox::ChangeLog plain(fields);
    // Few values, so that most are repeats; some differ in bits but not in text (0 and -0, a
    // thousandth), some are not numbers at all.
    const double numbers[] = {0.0,
                              -0.0,
                              1.0,
                              1.001,
                              1.004,
                              2.5,
                              -3.25,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()};
    const char* const codeTexts[] = {"\"dead\"", "\"plain\"", "\"seeing\""};
    const std::optional<std::string> strings[] = {std::nullopt, "", "car1", "car2", "a\"<b>"};
    std::mt19937 random(7);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int sample = 0; sample < 4000; ++sample) {
        for (int step = 0; step < 6; ++step) {
            const int entity = pick(5);
            std::string text;
            switch (pick(5)) {
                case kNumber: {
                    const double v = numbers[pick(9)];
                    fast.SetNumber(sample, entity, kNumber, v);
                    sandbox::AppendNumber(text, v);
                    plain.Set(sample, entity, kNumber, text);
                    break;
                }
                case kCoded: {
                    const int code = pick(3);
                    fast.SetCoded(sample, entity, kCoded, static_cast<std::uint64_t>(code),
                                  [&](std::string& out) { out += codeTexts[code]; });
                    plain.Set(sample, entity, kCoded, codeTexts[code]);
                    break;
                }
                case kString: {
                    const auto& s = strings[pick(5)];
                    fast.SetString(sample, entity, kString,
                                   s ? std::optional<std::string_view>(*s) : std::nullopt);
                    plain.Set(sample, entity, kString,
                              TextOrNull(s, [](std::string& out, const std::string& v) {
                                  sandbox::AppendString(out, v);
                              }));
                    break;
                }
                case kAim: {
                    // Null, a coded point, or plain text, by turns on the same field.
                    const int how = pick(3);
                    const float x = static_cast<float>(pick(2));
                    if (how == 0) {
                        fast.SetNull(sample, entity, kAim);
                        text = "null";
                    } else if (how == 1) {
                        sandbox::AppendFlat(text, {x, 1.0f, 0.0f});
                        fast.SetCoded(sample, entity, kAim, static_cast<std::uint64_t>(x),
                                      [&](std::string& out) {
                                          sandbox::AppendFlat(out, {x, 1.0f, 0.0f});
                                      });
                    } else {
                        // Plain text in between, which the code would not give.
                        sandbox::AppendFlat(text, {x, 2.0f, 0.0f});
                        fast.Set(sample, entity, kAim, text);
                    }
                    plain.Set(sample, entity, kAim, text);
                    break;
                }
                case kPoint: {
                    const int which = pick(4);
                    const std::optional<sandbox::Vec3> point =
                        which == 0 ? std::nullopt
                                   : std::optional<sandbox::Vec3>({which == 1   ? 0.0f
                                                                   : which == 2 ? -0.0f
                                                                                : 0.001f,
                                                                   2.5f, static_cast<float>(pick(2))});
                    fast.SetPoint(sample, entity, kPoint, point);
                    plain.Set(sample, entity, kPoint, TextOrNull(point, sandbox::AppendPoint));
                    break;
                }
            }
        }
    }
    const std::string written = Members(plain);
    EXPECT_EQ(Members(fast), written);
    EXPECT_GT(written.size(), 10000u);  // the run wrote many changes, not a handful
}

// A change is put together on the stack when short and appended in parts when long; either way
// it must read back as the same item, with large numbers in its head.
TEST(ChangeLogTest, ShortAndLongValuesReadBackWhole) {
    sandbox::ChangeLog log({"a", "b"});
    nlohmann::json expected = nlohmann::json::array();
    for (int length = 0; length < 300; ++length) {
        const int sample = 2000000000 - length;
        const int entity = length % 7 == 0 ? 1999999 : length;
        const std::string text(static_cast<std::size_t>(length), 'x');
        std::string value;
        sandbox::AppendString(value, text);
        log.Set(sample, entity, length % 2, value);
        expected.push_back({sample, entity, length % 2, text});
    }
    const auto j = nlohmann::json::parse("{" + Members(log) + "}");
    EXPECT_EQ(j["changes"], expected);
}

}  // namespace
