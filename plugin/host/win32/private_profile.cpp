#include "host/win32/private_profile.h"

#include "host/win32/profile_encoding.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>

namespace vigilor::win32 {
namespace {

// The bytes Windows strips around lines, names and values; 0x1A is the old end-of-file marker.
bool IsBlank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x20 || byte == 0x1A;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// ASCII-only folding so the result does not depend on the process locale.
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// A header needs its ']'; a line that opens one and never closes it is read as a key line of the
// section it stands in, as Windows reads it.
bool IsHeader(std::string_view line) {
    return line.front() == '[' && line.find(']') != std::string_view::npos;
}

// Name between '[' and the last ']' on a header line.
std::string_view SectionName(std::string_view line) { return Trim(line.substr(1, line.rfind(']') - 1)); }

std::string_view Unquote(std::string_view value) {
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view fileText, std::string_view section,
                                            std::string_view key) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (fileText.starts_with(kByteOrderMark)) {
        fileText.remove_prefix(kByteOrderMark.size());
    }
    section = Trim(section);
    key = Trim(key);

    bool inSection = false;
    while (!fileText.empty()) {
        const std::size_t end = fileText.find_first_of("\r\n");
        const std::string_view line = Trim(fileText.substr(0, end));
        fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
        if (line.empty()) {
            continue;
        }
        if (IsHeader(line)) {
            if (inSection) {
                return std::nullopt;  // later repeats of the section are never searched
            }
            inSection = SameName(SectionName(line), section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!SameName(Trim(line.substr(0, equals)), key)) {
            continue;
        }
        if (equals == std::string_view::npos) {
            return std::nullopt;
        }
        return std::string(Unquote(Trim(line.substr(equals + 1))));
    }
    return std::nullopt;
}

std::uint32_t ParseProfileInt(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && static_cast<unsigned char>(value[i]) >= 1 &&
           static_cast<unsigned char>(value[i]) <= 32) {
        ++i;
    }
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    std::uint32_t base = 10;
    if (value.substr(i).starts_with("0x")) {
        base = 16;
        i += 2;
    }
    std::uint32_t result = 0;
    for (; i < value.size(); ++i) {
        const int digit = DigitValue(value[i]);
        if (digit < 0 || static_cast<std::uint32_t>(digit) >= base) {
            break;
        }
        // Unsigned arithmetic gives the modulo-2^32 wrap Windows shows on overflow.
        result = result * base + static_cast<std::uint32_t>(digit);
    }
    return negative ? 0U - result : result;
}

namespace {

std::optional<std::string> ReadProfileValue(const char* appName, const char* keyName, const char* fileName) {
    if (appName == nullptr || keyName == nullptr || fileName == nullptr) {
        return std::nullopt;
    }
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return FindProfileValue(ProfileTextInCodePage(bytes), appName, keyName);
}

}  // namespace

unsigned int ReadProfileInt(const char* appName, const char* keyName, int defaultValue,
                            const char* fileName) {
    const std::optional<std::string> value = ReadProfileValue(appName, keyName, fileName);
    if (!value || value->empty()) {
        return static_cast<unsigned int>(defaultValue);
    }
    // Windows reads the number from a 30-character buffer: what lies beyond is never seen.
    constexpr std::size_t kIntegerBuffer = 30;
    return ParseProfileInt(std::string_view(*value).substr(0, kIntegerBuffer - 1));
}

unsigned long ReadProfileString(const char* appName, const char* keyName, const char* defaultValue,
                                char* returnedString, unsigned long size, const char* fileName) {
    if (returnedString == nullptr || size == 0) {
        return 0;
    }
    const std::optional<std::string> value = ReadProfileValue(appName, keyName, fileName);
    std::string_view text = defaultValue != nullptr ? defaultValue : "";
    // Windows drops trailing spaces from the default, though never its first character.
    while (text.size() > 1 && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (value) {
        text = *value;
    }
    // A NUL byte inside the file would leave the caller's C string shorter than the count we return.
    text = text.substr(0, text.find('\0'));
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::copy_n(text.data(), count, returnedString);
    returnedString[count] = '\0';
    return static_cast<unsigned long>(count);
}

}  // namespace vigilor::win32

#ifndef _WIN32
unsigned int GetPrivateProfileIntA(const char* appName, const char* keyName, int defaultValue,
                                   const char* fileName) {
    return vigilor::win32::ReadProfileInt(appName, keyName, defaultValue, fileName);
}

unsigned long GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultValue,
                                       char* returnedString, unsigned long size, const char* fileName) {
    return vigilor::win32::ReadProfileString(appName, keyName, defaultValue, returnedString, size, fileName);
}
#endif
