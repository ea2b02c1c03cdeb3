#include "host/win32/profile_encoding.h"

#include <array>
#include <cstdint>

namespace vigilor::win32 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code page 1252 at 0x80..0x9F; 0 where a byte stands for the control character of its own number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char CodePageByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        const char32_t mapped = kHighControls[i] != 0 ? kHighControls[i] : 0x80 + i;
        if (mapped == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool IsContinuation(std::uint8_t byte) { return (byte & 0xC0) == 0x80; }

// One character from the front of `bytes`, which it consumes; a malformed sequence gives the
// replacement character for its first byte only.
char32_t NextUtf8(std::string_view& bytes) {
    const auto lead = static_cast<std::uint8_t>(bytes.front());
    int length = 1;
    char32_t c = lead;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else if (lead >= 0x80) {
        bytes.remove_prefix(1);
        return kReplacement;
    }
    if (bytes.size() < static_cast<std::size_t>(length)) {
        bytes.remove_prefix(1);
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]);
        if (!IsContinuation(byte)) {
            bytes.remove_prefix(1);
            return kReplacement;
        }
        c = (c << 6) | (byte & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        bytes.remove_prefix(1);
        return kReplacement;
    }
    bytes.remove_prefix(static_cast<std::size_t>(length));
    return c;
}

std::string FromUtf8(std::string_view bytes) {
    std::string text;
    while (!bytes.empty()) text += CodePageByte(NextUtf8(bytes));
    return text;
}

// Each 16-bit unit on its own: a surrogate half is no character of the code page either way.
std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<std::uint8_t>(bytes[i]);
        const auto second = static_cast<std::uint8_t>(bytes[i + 1]);
        text += CodePageByte(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

}  // namespace

std::string ProfileTextInCodePage(std::string_view fileBytes) {
    if (fileBytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(fileBytes.substr(3));
    if (fileBytes.starts_with("\xFF\xFE")) return FromUtf16(fileBytes.substr(2), false);
    if (fileBytes.starts_with("\xFE\xFF")) return FromUtf16(fileBytes.substr(2), true);
    return std::string(fileBytes);
}

}  // namespace vigilor::win32
