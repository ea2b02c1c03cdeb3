#include "host/win32/private_profile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kIntDefault = 777;
constexpr const char* kStringDefault = "DEF";

struct Reading {
    int integer;
    std::string text;
};

struct Case {
    std::string fileText;
    int integer;
    std::string text;
};

class PrivateProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vigilor_pp_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "settings.ini").string();
    }

    void TearDown() override { fs::remove_all(dir_); }

    void Write(std::string_view fileText) {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << fileText;
    }

    Reading Read(std::string_view fileText) {
        Write(fileText);
        char buffer[256];
        GetPrivateProfileStringA("Settings", "Key", kStringDefault, buffer, sizeof buffer, path_.c_str());
        const auto integer = GetPrivateProfileIntA("Settings", "Key", kIntDefault, path_.c_str());
        return {static_cast<int>(integer), buffer};
    }

    void ExpectAll(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            const Reading got = Read(c.fileText);
            EXPECT_EQ(got.integer, c.integer) << c.fileText;
            EXPECT_EQ(got.text, c.text) << c.fileText;
        }
    }

    static std::string Settings(std::string_view lines) { return "[Settings]\n" + std::string(lines) + "\n"; }

    // A UTF-16 file with its byte-order mark.
    static std::string Utf16(std::u16string_view text, bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t unit : text) {
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? high : low;
            bytes += bigEndian ? low : high;
        }
        return bytes;
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(PrivateProfileTest, IntegerTakesSignDigitsAndLowerCaseHexPrefix) {
    ExpectAll({
        {Settings("Key=  -12abc"), -12, "-12abc"},
        {Settings("Key=0x1F"), 31, "0x1F"},
        {Settings("Key=0X1F"), 0, "0X1F"},
        {Settings("Key=+5"), 5, "+5"},
        {Settings("Key=--5"), 0, "--5"},
        {Settings("Key=- 5"), 0, "- 5"},
        {Settings("Key=abc"), 0, "abc"},
    });
}

TEST_F(PrivateProfileTest, IntegerWrapsModulo2To32) {
    ExpectAll({
        {Settings("Key=4294967297"), 1, "4294967297"},
        {Settings("Key=-2147483649"), 2147483647, "-2147483649"},
        {Settings("Key=99999999999"), 1215752191, "99999999999"},
    });
}

TEST_F(PrivateProfileTest, EmptyValueGivesIntegerDefaultButEmptyString) {
    ExpectAll({{Settings("Key="), kIntDefault, ""}});
}

TEST_F(PrivateProfileTest, OnlyBalancedOuterQuotesAreStripped) {
    ExpectAll({
        {Settings("Key=\"42\""), 42, "42"},
        {Settings("Key=' a b '"), 0, " a b "},
        {Settings("Key=\"abc"), 0, "\"abc"},
        {Settings("Key=\"a\"b\""), 0, "a\"b"},
    });
}

TEST_F(PrivateProfileTest, SemicolonAndHashAreNotComments) {
    ExpectAll({
        {Settings("Key=5 ; c"), 5, "5 ; c"},
        {Settings(";Key=5"), kIntDefault, kStringDefault},
        {Settings("#Key=5"), kIntDefault, kStringDefault},
    });
}

TEST_F(PrivateProfileTest, NamesMatchIgnoringCaseAndSurroundingBlanks) {
    ExpectAll({{"[SETTINGS]\n  KEY \t=  3  \n", 3, "3"}});
}

TEST_F(PrivateProfileTest, FirstMatchingKeyWinsEvenWithoutEquals) {
    ExpectAll({
        {Settings("Key=1\nKey=2"), 1, "1"},
        {Settings("Key\nKey=5"), kIntDefault, kStringDefault},
    });
}

TEST_F(PrivateProfileTest, OnlyFirstMatchingSectionIsSearched) {
    ExpectAll({{"[Settings]\nA=1\n[settings]\nKey=2\n", kIntDefault, kStringDefault}});
}

TEST_F(PrivateProfileTest, ByteOrderMarkAndBareCarriageReturnsAreAccepted) {
    ExpectAll({
        {"\xEF\xBB\xBF[Settings]\nKey=4\n", 4, "4"},
        {"[Other]\rKey=1\r[Settings]\rA=2\rKey=4\r", 4, "4"},
    });
}

TEST_F(PrivateProfileTest, UnicodeFilesAreReadInTheWesternCodePage) {
    ExpectAll({
        {"\xEF\xBB\xBF[Settings]\nKey=caf\xC3\xA9 \xE2\x82\xAC\n", 0, "caf\xE9 \x80"},
        // Malformed UTF-8 and characters the code page lacks both become '?'.
        {"\xEF\xBB\xBF[Settings]\nKey=\xE9t\xC3 \xE2\x88\x9E\n", 0, "?t? ?"},
        {Utf16(u"[Settings]\nKey=1\u00E9\u20AC", false), 1, "1\xE9\x80"},
        {Utf16(u"[Settings]\nKey=2", true), 2, "2"},
        // Without a mark the bytes are taken as they are.
        {Settings("Key=caf\xC3\xA9"), 0, "caf\xC3\xA9"},
    });
}

TEST_F(PrivateProfileTest, IntegerSeesOnlyTheFirst29Characters) {
    ExpectAll({
        {Settings("Key=" + std::string(28, '0') + "7"), 7, std::string(28, '0') + "7"},
        {Settings("Key=" + std::string(29, '0') + "7"), 0, std::string(29, '0') + "7"},
    });
}

TEST_F(PrivateProfileTest, FloatValueIsCutToBufferBeforeAtof) {
    // The only significant digits sit beyond character 31, so the cut turns this value into zero.
    const std::string value = "0." + std::string(29, '0') + "123456789";
    ASSERT_EQ(value.size(), 40U);
    Write(Settings("Key=" + value));

    char buffer[32];
    const auto copied =
        GetPrivateProfileStringA("Settings", "Key", kStringDefault, buffer, sizeof buffer, path_.c_str());
    EXPECT_EQ(copied, 31U);
    EXPECT_EQ(std::string(buffer), value.substr(0, 31));
    EXPECT_EQ(std::atof(buffer), 0.0);
}

TEST_F(PrivateProfileTest, StringCountExcludesTerminatorAndSmallBuffersStaySafe) {
    Write(Settings("Key=hello"));
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetPrivateProfileStringA("Settings", "Key", "", buffer, 0, path_.c_str()), 0U);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(GetPrivateProfileStringA("Settings", "Key", "", buffer, 1, path_.c_str()), 0U);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(GetPrivateProfileStringA("Settings", "Key", "", buffer, 4, path_.c_str()), 3U);
    EXPECT_EQ(std::string(buffer), "hel");
    EXPECT_EQ(GetPrivateProfileStringA("Settings", "Missing", nullptr, buffer, 4, path_.c_str()), 0U);
    EXPECT_EQ(std::string(buffer), "");
    // The default loses its trailing spaces, but not its first character.
    EXPECT_EQ(GetPrivateProfileStringA("Settings", "Missing", " a  ", buffer, 4, path_.c_str()), 2U);
    EXPECT_EQ(std::string(buffer), " a");
    EXPECT_EQ(GetPrivateProfileStringA("Settings", "Missing", "   ", buffer, 4, path_.c_str()), 1U);
    EXPECT_EQ(std::string(buffer), " ");
}

TEST_F(PrivateProfileTest, MissingFileOrNullNamesGiveDefaults) {
    const std::string missing = (dir_ / "absent.ini").string();
    char buffer[8];
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "Key", -3, missing.c_str()), static_cast<unsigned int>(-3));
    EXPECT_EQ(GetPrivateProfileStringA("Settings", "Key", "DEF", buffer, 8, missing.c_str()), 3U);
    EXPECT_EQ(std::string(buffer), "DEF");

    Write(Settings("Key=5"));
    EXPECT_EQ(GetPrivateProfileIntA(nullptr, "Key", kIntDefault, path_.c_str()), 777U);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", nullptr, kIntDefault, path_.c_str()), 777U);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "Key", kIntDefault, nullptr), 777U);
}

TEST_F(PrivateProfileTest, AnEditedFileIsReadAfreshEvenAtTheSameSize) {
    for (const char* value : {"1", "2", "1"}) {
        Write(Settings(std::string("Key=") + value));
        EXPECT_EQ(Read(Settings(std::string("Key=") + value)).text, value);
    }
    Write(Settings("Key=3"));
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "Key", kIntDefault, path_.c_str()), 3U);
    fs::remove(path_);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "Key", kIntDefault, path_.c_str()), 777U);
}

// The one-pass index answers every question as the line-by-line search does, on texts built from
// the lines that trip readers up: repeated and unclosed sections, keys without '=', blanks, case.
TEST(ProfileIndexTest, AgreesWithTheSearchOnEveryKeyOfEveryText) {
    const std::vector<std::string> lines = {"[Settings]", "[settings ]",
                                            "[Other]",    "[Settings",
                                            "[]",         "Key=1",
                                            " key = 2 ",  "KEY",
                                            "Key=",       "Other=\"q\"",
                                            "=7",         "x]=4",
                                            "; Key=5",    "",
                                            "\t",         "\xEF\xBB\xBF[Settings]"};
    const std::vector<std::string> names = {"Settings", " SETTINGS", "Other", "",      "Key",
                                            "key ",     "Other",     "x]",    "; Key", "Missing"};
    std::uint32_t draw = 12345;
    for (int text = 0; text < 2000; ++text) {
        std::string fileText;
        const int count = static_cast<int>(draw % 8);
        for (int i = 0; i < count; ++i) {
            draw = draw * 1103515245U + 12345U;
            fileText += lines[(draw >> 8) % lines.size()] + ((draw >> 4) % 3 == 0 ? "\r\n" : "\n");
        }
        draw = draw * 1103515245U + 12345U;
        const vigilor::win32::ProfileIndex index(fileText);
        for (const std::string& section : names) {
            for (const std::string& key : names) {
                ASSERT_EQ(index.Find(section, key), vigilor::win32::FindProfileValue(fileText, section, key))
                    << "text: " << fileText << "\nsection: " << section << ", key: " << key;
            }
        }
    }
}

TEST(FindProfileValueTest, KeysOutsideTheRequestedSectionAreIgnored) {
    using vigilor::win32::FindProfileValue;
    EXPECT_EQ(FindProfileValue("Key=1\n[Settings]\n", "Settings", "Key"), std::nullopt);
    EXPECT_EQ(FindProfileValue("[Other]\nKey=1\n[Settings]\nKey=2\n", "Settings", "Key"), "2");
    // A header never closed is a key line of the section above, which goes on after it.
    EXPECT_EQ(FindProfileValue("[Settings]\n[Other\nKey=1\n", "Settings", "Key"), "1");
    EXPECT_EQ(FindProfileValue("[Settings\nKey=1\n", "Settings", "Key"), std::nullopt);
    EXPECT_EQ(FindProfileValue("[Settings] x]\nKey=1\n", "Settings] x", "Key"), "1");
}

}  // namespace
