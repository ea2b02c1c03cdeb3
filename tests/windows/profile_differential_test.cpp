// Our settings reader held against the system's own profile functions: generated files and queries,
// seeded, every disagreement reported with the file that caused it.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "host/win32/private_profile.h"

namespace {

namespace fs = std::filesystem;

// Seed and count can be changed from outside to chase one failure or to soak.
unsigned EnvNumber(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text != nullptr ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

class IniGenerator {
public:
    explicit IniGenerator(unsigned seed) : random_(seed) {}

    std::string File() {
        std::string text;
        if (Chance(8)) text += "\xEF\xBB\xBF";
        const int lines = Between(0, 12);
        for (int i = 0; i < lines; ++i) text += Line() + LineEnd();
        if (Chance(10)) text += Line();  // last line without an end
        return Chance(8) ? Utf16(text) : text;
    }

    std::string Key() {
        static const std::vector<std::string> keys = {"Key",  "key",   "KEY", " Key",
                                                      "Key ", "Other", "K",   "Ke"};
        return Pick(keys);
    }

    std::string Section() {
        static const std::vector<std::string> sections = {"Settings", "settings", " Settings ", "Other"};
        return Pick(sections);
    }

    std::string Default() {
        static const std::vector<std::string> defaults = {"",    "DEF", "  padded  ",
                                                          "   ", "12",  "a much longer default"};
        return Pick(defaults);
    }

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int oneIn) { return Between(1, oneIn) == 1; }

private:
    template <class T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
    }

    std::string Blank() {
        static const std::vector<std::string> blanks = {"", "", "", " ", "  ", "\t", " \t "};
        return Pick(blanks);
    }

    std::string LineEnd() {
        static const std::vector<std::string> ends = {"\n", "\n", "\r\n", "\r\n", "\r"};
        return Pick(ends);
    }

    std::string Header() {
        static const std::vector<std::string> headers = {"[Settings]", "[settings]",          "[ Settings ]",
                                                         "[Other]",    "[Settings] trailing", "[Settings",
                                                         "[]",         "[Set]tings]",         "[Other"};
        return Blank() + Pick(headers) + Blank();
    }

    std::string Value() {
        static const std::vector<std::string> values = {"1",
                                                        "42",
                                                        "-7",
                                                        "+5",
                                                        "0x1F",
                                                        "0X1F",
                                                        "0xfz",
                                                        "007",
                                                        "12abc",
                                                        "abc",
                                                        "",
                                                        " 3 ",
                                                        "\"quoted\"",
                                                        "'single'",
                                                        "\"unbalanced",
                                                        "4294967296",
                                                        "-2147483649",
                                                        "99999999999999999999",
                                                        "1.5",
                                                        "a=b",
                                                        "; not a comment",
                                                        "caf\xC3\xA9",
                                                        "\xE9t\xE9",
                                                        "\xE2\x82\xAC"
                                                        "5",
                                                        "000000000000000000000000000001",
                                                        "0000000000000000000000000000001234",
                                                        "  -  4"};
        std::string value = Pick(values);
        if (Chance(6)) value = std::string(static_cast<std::size_t>(Between(25, 40)), '1') + value;
        return value;
    }

    std::string Line() {
        switch (Between(0, 9)) {
            case 0:
            case 1: return Header();
            case 2: return Blank() + ";" + Key() + "=comment";
            case 3: return Blank() + Key() + Blank();  // no '='
            case 4: return "";
            default: return Blank() + Key() + Blank() + "=" + Blank() + Value() + Blank();
        }
    }

    // The same text as little-endian UTF-16 with its mark, ASCII and two-byte UTF-8 widened.
    static std::string Utf16(const std::string& text) {
        std::string wide = "\xFF\xFE";
        std::size_t i = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
        for (; i < text.size(); ++i) {
            auto c = static_cast<unsigned char>(text[i]);
            unsigned unit = c;
            if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
                unit = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3Fu);
            }
            wide += static_cast<char>(unit & 0xFF);
            wide += static_cast<char>(unit >> 8);
        }
        return wide;
    }

    std::mt19937 random_;
};

std::string Escaped(const std::string& text) {
    std::ostringstream out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out << c;
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", c);
            out << code;
        }
    }
    return out.str();
}

TEST(ProfileDifferential, OurReaderAgreesWithTheSystemOnGeneratedFiles) {
    const unsigned seed = EnvNumber("VIGILOR_PROFILE_SEED", 20261207);
    const unsigned files = EnvNumber("VIGILOR_PROFILE_FILES", 1500);
    IniGenerator generate(seed);
    const fs::path dir = fs::temp_directory_path() / ("vigilor-profile-" + std::to_string(seed));
    fs::create_directories(dir);
    int failures = 0;
    for (unsigned n = 0; n < files && failures < 5; ++n) {
        const std::string text = generate.File();
        // A fresh name per file: the system caches what it read, keyed by name and write time.
        const std::string path = (dir / ("case" + std::to_string(n) + ".ini")).string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        for (int q = 0; q < 4; ++q) {
            const std::string section = generate.Section();
            const std::string key = generate.Key();
            const std::string fallback = generate.Default();
            const int intDefault = generate.Between(-5, 5);
            const auto size = static_cast<unsigned long>(generate.Between(1, 48));
            char ours[64] = {};
            char theirs[64] = {};
            const unsigned long ourCount = vigilor::win32::ReadProfileString(
                section.c_str(), key.c_str(), fallback.c_str(), ours, size, path.c_str());
            const unsigned long theirCount = GetPrivateProfileStringA(
                section.c_str(), key.c_str(), fallback.c_str(), theirs, size, path.c_str());
            const unsigned ourInt =
                vigilor::win32::ReadProfileInt(section.c_str(), key.c_str(), intDefault, path.c_str());
            const unsigned theirInt =
                GetPrivateProfileIntA(section.c_str(), key.c_str(), intDefault, path.c_str());
            if (ourCount == theirCount && std::string(ours) == theirs && ourInt == theirInt) continue;
            ++failures;
            ADD_FAILURE() << "seed " << seed << " file " << n << ": [" << section << "] '" << key
                          << "' default '" << fallback << "'/" << intDefault << " size " << size
                          << "\n  file: " << Escaped(text) << "\n  ours:   " << ourCount << " '"
                          << Escaped(ours) << "' int " << ourInt << "\n  system: " << theirCount << " '"
                          << Escaped(theirs) << "' int " << theirInt;
        }
        fs::remove(path);
    }
    fs::remove_all(dir);
}

}  // namespace
