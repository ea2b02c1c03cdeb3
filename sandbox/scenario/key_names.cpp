#include "scenario/key_names.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace sandbox::loader {

std::optional<KeyName> FindKey(std::string_view name) {
    static const std::vector<KeyName> named = {
        {"Backspace", 0x08}, {"Tab", 0x09},    {"Enter", 0x0D},  {"Shift", 0x10},  {"Ctrl", 0x11},
        {"Alt", 0x12},       {"Escape", 0x1B}, {"Space", 0x20},  {"PageUp", 0x21}, {"PageDown", 0x22},
        {"End", 0x23},       {"Home", 0x24},   {"Left", 0x25},   {"Up", 0x26},     {"Right", 0x27},
        {"Down", 0x28},      {"Insert", 0x2D}, {"Delete", 0x2E},
    };
    static const std::vector<std::string> generated = [] {
        std::vector<std::string> names;
        for (int i = 1; i <= 12; ++i) {
            names.push_back("F" + std::to_string(i));
        }
        for (char c = 'A'; c <= 'Z'; ++c) {
            names.emplace_back(1, c);
        }
        for (char c = '0'; c <= '9'; ++c) {
            names.emplace_back(1, c);
        }
        return names;
    }();
    auto sameIgnoringCase = [name](std::string_view candidate) {
        return std::equal(name.begin(), name.end(), candidate.begin(), candidate.end(), [](char a, char b) {
            return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
        });
    };
    for (const KeyName& key : named) {
        if (sameIgnoringCase(key.name)) {
            return key;
        }
    }
    for (std::size_t i = 0; i < generated.size(); ++i) {
        if (sameIgnoringCase(generated[i])) {
            int code = i < 12 ? 0x70 + static_cast<int>(i) : static_cast<int>(generated[i][0]);
            return KeyName{generated[i], code};
        }
    }
    return std::nullopt;
}

}  // namespace sandbox::loader
